#include "blocks/dialogs/frmYanShi.h"

#include "ui_frmYanShi.h"

#include "blocks/controls/ValidateEdit.h"

#include <QScrollBar>

TFormYanShi::TFormYanShi(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormYanShi) {
    ui->setupUi(this);
    SetUpFrame();
    Pair1.emplace(ui->ScrollBar1, ui->ValidateEdit1);
    connect(ui->ScrollBar1, &QScrollBar::valueChanged, this, &TFormYanShi::ScrollBar1Change);
    connect(ui->ValidateEdit1, &TValidateEdit::ValueChanged, this,
            &TFormYanShi::ValidateEdit1ValueChanged);
}

TFormYanShi::~TFormYanShi() = default;

TValidateEdit* TFormYanShi::ValidateEdit1() const {
    return ui->ValidateEdit1;
}

QScrollBar* TFormYanShi::ScrollBar1() const {
    return ui->ScrollBar1;
}

void TFormYanShi::ScrollBar1Change() {
    Pair1->BarChanged();
}

void TFormYanShi::ValidateEdit1ValueChanged() {
    Pair1->EditChanged();
}

void TFormYanShi::showEvent(QShowEvent* event) {
    TBlockDialog::showEvent(event);
    Pair1->ShowBar();
}
