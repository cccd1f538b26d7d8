#include "blocks/dialogs/frmZhuanXiang.h"

#include "ui_frmZhuanXiang.h"

#include "blocks/controls/RadioGroup.h"
#include "blocks/controls/ValidateEdit.h"

#include <QScrollBar>

TFormZhuanXiang::TFormZhuanXiang(QWidget* parent)
    : TBlockDialog(parent), ui(new Ui::TFormZhuanXiang) {
    ui->setupUi(this);
    SetUpFrame();
    Pair1.emplace(ui->ScrollBar1, ui->ValidateEdit1);
    connect(ui->ScrollBar1, &QScrollBar::valueChanged, this, &TFormZhuanXiang::ScrollBar1Change);
    connect(ui->ValidateEdit1, &TValidateEdit::ValueChanged, this,
            &TFormZhuanXiang::ValidateEdit1ValueChanged);
}

TFormZhuanXiang::~TFormZhuanXiang() = default;

TRadioGroup* TFormZhuanXiang::RadioGroup1() const {
    return ui->RadioGroup1;
}

TValidateEdit* TFormZhuanXiang::ValidateEdit1() const {
    return ui->ValidateEdit1;
}

QScrollBar* TFormZhuanXiang::ScrollBar1() const {
    return ui->ScrollBar1;
}

void TFormZhuanXiang::ScrollBar1Change() {
    Pair1->BarChanged();
}

void TFormZhuanXiang::ValidateEdit1ValueChanged() {
    Pair1->EditChanged();
}

void TFormZhuanXiang::showEvent(QShowEvent* event) {
    TBlockDialog::showEvent(event);
    Pair1->ShowBar();
}
