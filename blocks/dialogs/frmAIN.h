#pragma once

// Analog sensor: the variable that receives the reading of an analog input.
// The row reads like the statement it produces: variable = input.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QComboBox;

namespace Ui {
class TFormAIN;
}

class TFormAIN : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormAIN(QWidget* parent = nullptr);
    ~TFormAIN() override;

    QComboBox* ComboBox1() const;
    QComboBox* ComboBox2() const;

private:
    std::unique_ptr<Ui::TFormAIN> ui;
};
