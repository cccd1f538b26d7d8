#include "blocks/dialogs/frmPORTIN.h"

#include "ui_frmPORTIN.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QComboBox>
#include <QLineEdit>

TFormPORTIN::TFormPORTIN(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormPORTIN) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->ComboBox1->lineEdit());
    TGbkTextValidator::Install(ui->ComboBox2->lineEdit());
}

TFormPORTIN::~TFormPORTIN() = default;

QComboBox* TFormPORTIN::ComboBox1() const {
    return ui->ComboBox1;
}

QComboBox* TFormPORTIN::ComboBox2() const {
    return ui->ComboBox2;
}
