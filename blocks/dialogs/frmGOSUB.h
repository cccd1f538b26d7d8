#pragma once

// Subroutine call: the name of the subroutine to call.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TFormGOSUB;
}

class TFormGOSUB : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormGOSUB(QWidget* parent = nullptr);
    ~TFormGOSUB() override;

    QLineEdit* Edit1() const;

private:
    std::unique_ptr<Ui::TFormGOSUB> ui;
};
