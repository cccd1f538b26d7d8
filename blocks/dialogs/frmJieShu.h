#pragma once

// End of program: nothing to edit, the block can only be deleted.

#include "blocks/controls/BlockDialog.h"

#include <memory>

namespace Ui {
class TFormJieShu;
}

class TFormJieShu : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormJieShu(QWidget* parent = nullptr);
    ~TFormJieShu() override;

private:
    std::unique_ptr<Ui::TFormJieShu> ui;
};
