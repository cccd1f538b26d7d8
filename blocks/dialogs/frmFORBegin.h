#pragma once

// Loop head: how many times, and the loop variable.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QComboBox;
class TValidateEdit;

namespace Ui {
class TFormFORBegin;
}

class TFormFORBegin : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormFORBegin(QWidget* parent = nullptr);
    ~TFormFORBegin() override;

    TValidateEdit* ValidateEdit1() const;
    QComboBox* ComboBox1() const;

private:
    std::unique_ptr<Ui::TFormFORBegin> ui;
};
