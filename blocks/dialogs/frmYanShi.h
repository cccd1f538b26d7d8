#pragma once

// Delay: a waiting time held by the scroll bar and typed in the numeric edit.

#include "blocks/controls/BlockDialog.h"
#include "blocks/controls/ScrollEditPair.h"

#include <memory>
#include <optional>

class QScrollBar;
class TValidateEdit;

namespace Ui {
class TFormYanShi;
}

class TFormYanShi : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormYanShi(QWidget* parent = nullptr);
    ~TFormYanShi() override;

    TValidateEdit* ValidateEdit1() const;
    QScrollBar* ScrollBar1() const;

public slots:
    void ScrollBar1Change();
    void ValidateEdit1ValueChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TFormYanShi> ui;
    std::optional<TScrollEditPair> Pair1;
};
