#pragma once

// IO input: the variable that receives the value of an input port.
// The row reads like the statement it produces: variable = input.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QComboBox;

namespace Ui {
class TFormPORTIN;
}

class TFormPORTIN : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormPORTIN(QWidget* parent = nullptr);
    ~TFormPORTIN() override;

    QComboBox* ComboBox1() const;
    QComboBox* ComboBox2() const;

private:
    std::unique_ptr<Ui::TFormPORTIN> ui;
};
