#pragma once

// Conditional jump: the condition (Edit2, first in the tab order) and the
// label to jump to when it holds (Edit1).

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TFormGOTOIF;
}

class TFormGOTOIF : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormGOTOIF(QWidget* parent = nullptr);
    ~TFormGOTOIF() override;

    QLineEdit* Edit1() const;
    QLineEdit* Edit2() const;

private:
    std::unique_ptr<Ui::TFormGOTOIF> ui;
};
