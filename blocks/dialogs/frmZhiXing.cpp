#include "blocks/dialogs/frmZhiXing.h"

#include "ui_frmZhiXing.h"

#include "blocks/controls/RadioGroup.h"
#include "blocks/controls/ValidateEdit.h"

#include <QScrollBar>

TFormZhiXing::TFormZhiXing(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormZhiXing) {
    ui->setupUi(this);
    SetUpFrame();
    Pair1.emplace(ui->ScrollBar1, ui->ValidateEdit1);
    connect(ui->ScrollBar1, &QScrollBar::valueChanged, this, &TFormZhiXing::ScrollBar1Change);
    connect(ui->ValidateEdit1, &TValidateEdit::ValueChanged, this,
            &TFormZhiXing::ValidateEdit1ValueChanged);
}

TFormZhiXing::~TFormZhiXing() = default;

TRadioGroup* TFormZhiXing::RadioGroup1() const {
    return ui->RadioGroup1;
}

TValidateEdit* TFormZhiXing::ValidateEdit1() const {
    return ui->ValidateEdit1;
}

QScrollBar* TFormZhiXing::ScrollBar1() const {
    return ui->ScrollBar1;
}

void TFormZhiXing::ScrollBar1Change() {
    Pair1->BarChanged();
}

void TFormZhiXing::ValidateEdit1ValueChanged() {
    Pair1->EditChanged();
}

void TFormZhiXing::showEvent(QShowEvent* event) {
    TBlockDialog::showEvent(event);
    Pair1->ShowBar();
}
