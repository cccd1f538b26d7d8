#pragma once

// Subroutine end: nothing to edit, the block can only be deleted.

#include "blocks/controls/BlockDialog.h"

#include <memory>

namespace Ui {
class TFormSubEnd;
}

class TFormSubEnd : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormSubEnd(QWidget* parent = nullptr);
    ~TFormSubEnd() override;

private:
    std::unique_ptr<Ui::TFormSubEnd> ui;
};
