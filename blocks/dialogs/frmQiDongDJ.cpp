#include "blocks/dialogs/frmQiDongDJ.h"

#include "ui_frmQiDongDJ.h"

#include "blocks/controls/ValidateEdit.h"

#include <QScrollBar>

TFormQiDongDJ::TFormQiDongDJ(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormQiDongDJ) {
    ui->setupUi(this);
    SetUpFrame();
    Pair1.emplace(ui->ScrollBar1, ui->ValidateEdit1);
    connect(ui->ScrollBar1, &QScrollBar::valueChanged, this, &TFormQiDongDJ::ScrollBar1Change);
    connect(ui->ValidateEdit1, &TValidateEdit::ValueChanged, this,
            &TFormQiDongDJ::ValidateEdit1ValueChanged);
    Pair2.emplace(ui->ScrollBar2, ui->ValidateEdit2);
    connect(ui->ScrollBar2, &QScrollBar::valueChanged, this, &TFormQiDongDJ::ScrollBar2Change);
    connect(ui->ValidateEdit2, &TValidateEdit::ValueChanged, this,
            &TFormQiDongDJ::ValidateEdit2ValueChanged);
}

TFormQiDongDJ::~TFormQiDongDJ() = default;

TValidateEdit* TFormQiDongDJ::ValidateEdit1() const {
    return ui->ValidateEdit1;
}

QScrollBar* TFormQiDongDJ::ScrollBar1() const {
    return ui->ScrollBar1;
}

TValidateEdit* TFormQiDongDJ::ValidateEdit2() const {
    return ui->ValidateEdit2;
}

QScrollBar* TFormQiDongDJ::ScrollBar2() const {
    return ui->ScrollBar2;
}

void TFormQiDongDJ::ScrollBar1Change() {
    Pair1->BarChanged();
}

void TFormQiDongDJ::ValidateEdit1ValueChanged() {
    Pair1->EditChanged();
}

void TFormQiDongDJ::ScrollBar2Change() {
    Pair2->BarChanged();
}

void TFormQiDongDJ::ValidateEdit2ValueChanged() {
    Pair2->EditChanged();
}

void TFormQiDongDJ::showEvent(QShowEvent* event) {
    TBlockDialog::showEvent(event);
    Pair1->ShowBar();
    Pair2->ShowBar();
}
