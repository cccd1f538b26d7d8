#pragma once

// Subroutine start: the name calls refer to.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TFormSubBegin;
}

class TFormSubBegin : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormSubBegin(QWidget* parent = nullptr);
    ~TFormSubBegin() override;

    QLineEdit* Edit1() const;

private:
    std::unique_ptr<Ui::TFormSubBegin> ui;
};
