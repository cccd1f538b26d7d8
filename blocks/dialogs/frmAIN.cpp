#include "blocks/dialogs/frmAIN.h"

#include "ui_frmAIN.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QComboBox>
#include <QLineEdit>

TFormAIN::TFormAIN(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormAIN) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->ComboBox1->lineEdit());
    TGbkTextValidator::Install(ui->ComboBox2->lineEdit());
}

TFormAIN::~TFormAIN() = default;

QComboBox* TFormAIN::ComboBox1() const {
    return ui->ComboBox1;
}

QComboBox* TFormAIN::ComboBox2() const {
    return ui->ComboBox2;
}
