#pragma once

// Loop tail: the loop variable it closes.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QComboBox;

namespace Ui {
class TFormFOREnd;
}

class TFormFOREnd : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormFOREnd(QWidget* parent = nullptr);
    ~TFormFOREnd() override;

    QComboBox* ComboBox1() const;

private:
    std::unique_ptr<Ui::TFormFOREnd> ui;
};
