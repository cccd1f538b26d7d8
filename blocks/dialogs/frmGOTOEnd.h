#pragma once

// Unconditional jump: the label to jump to.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TFormGOTOEnd;
}

class TFormGOTOEnd : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormGOTOEnd(QWidget* parent = nullptr);
    ~TFormGOTOEnd() override;

    QLineEdit* Edit1() const;

private:
    std::unique_ptr<Ui::TFormGOTOEnd> ui;
};
