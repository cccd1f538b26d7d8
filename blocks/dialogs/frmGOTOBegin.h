#pragma once

// Label: the name jumps refer to.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TFormGOTOBegin;
}

class TFormGOTOBegin : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormGOTOBegin(QWidget* parent = nullptr);
    ~TFormGOTOBegin() override;

    QLineEdit* Edit1() const;

private:
    std::unique_ptr<Ui::TFormGOTOBegin> ui;
};
