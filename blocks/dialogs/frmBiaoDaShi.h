#pragma once

// Expression or statement: one line passed to the listing as typed.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TFormBiaoDaShi;
}

class TFormBiaoDaShi : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormBiaoDaShi(QWidget* parent = nullptr);
    ~TFormBiaoDaShi() override;

    QLineEdit* Edit1() const;

private:
    std::unique_ptr<Ui::TFormBiaoDaShi> ui;
};
