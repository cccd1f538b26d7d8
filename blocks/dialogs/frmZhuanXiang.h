#pragma once

// Turn: left or right, for good or for a time given by the scroll bar (the
// numeric edit types the same value).

#include "blocks/controls/BlockDialog.h"
#include "blocks/controls/ScrollEditPair.h"

#include <memory>
#include <optional>

class QScrollBar;
class TRadioGroup;
class TValidateEdit;

namespace Ui {
class TFormZhuanXiang;
}

class TFormZhuanXiang : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormZhuanXiang(QWidget* parent = nullptr);
    ~TFormZhuanXiang() override;

    TRadioGroup* RadioGroup1() const;
    TValidateEdit* ValidateEdit1() const;
    QScrollBar* ScrollBar1() const;

public slots:
    void ScrollBar1Change();
    void ValidateEdit1ValueChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TFormZhuanXiang> ui;
    std::optional<TScrollEditPair> Pair1;
};
