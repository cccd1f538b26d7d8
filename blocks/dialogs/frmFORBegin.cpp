#include "blocks/dialogs/frmFORBegin.h"

#include "ui_frmFORBegin.h"

#include "blocks/controls/ValidateEdit.h"

#include <QComboBox>

TFormFORBegin::TFormFORBegin(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormFORBegin) {
    ui->setupUi(this);
    SetUpFrame();
}

TFormFORBegin::~TFormFORBegin() = default;

TValidateEdit* TFormFORBegin::ValidateEdit1() const {
    return ui->ValidateEdit1;
}

QComboBox* TFormFORBegin::ComboBox1() const {
    return ui->ComboBox1;
}
