#pragma once

// Start motors: a speed from full reverse to full forward for each motor,
// held by the scroll bars and typed in the numeric edits beside them.

#include "blocks/controls/BlockDialog.h"
#include "blocks/controls/ScrollEditPair.h"

#include <memory>
#include <optional>

class QScrollBar;
class TValidateEdit;

namespace Ui {
class TFormQiDongDJ;
}

class TFormQiDongDJ : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormQiDongDJ(QWidget* parent = nullptr);
    ~TFormQiDongDJ() override;

    TValidateEdit* ValidateEdit1() const;
    QScrollBar* ScrollBar1() const;
    TValidateEdit* ValidateEdit2() const;
    QScrollBar* ScrollBar2() const;

public slots:
    void ScrollBar1Change();
    void ValidateEdit1ValueChanged();
    void ScrollBar2Change();
    void ValidateEdit2ValueChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TFormQiDongDJ> ui;
    std::optional<TScrollEditPair> Pair1;
    std::optional<TScrollEditPair> Pair2;
};
