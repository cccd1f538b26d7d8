#pragma once

// Digital sensor: the variable that receives the state of a switch input.
// The row reads like the statement it produces: variable = input.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QComboBox;

namespace Ui {
class TFormDIN;
}

class TFormDIN : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormDIN(QWidget* parent = nullptr);
    ~TFormDIN() override;

    QComboBox* ComboBox1() const;
    QComboBox* ComboBox2() const;

private:
    std::unique_ptr<Ui::TFormDIN> ui;
};
