#include "blocks/dialogs/frmDIN.h"

#include "ui_frmDIN.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QComboBox>
#include <QLineEdit>

TFormDIN::TFormDIN(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormDIN) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->ComboBox1->lineEdit());
    TGbkTextValidator::Install(ui->ComboBox2->lineEdit());
}

TFormDIN::~TFormDIN() = default;

QComboBox* TFormDIN::ComboBox1() const {
    return ui->ComboBox1;
}

QComboBox* TFormDIN::ComboBox2() const {
    return ui->ComboBox2;
}
