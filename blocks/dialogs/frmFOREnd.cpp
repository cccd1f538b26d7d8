#include "blocks/dialogs/frmFOREnd.h"

#include "ui_frmFOREnd.h"

#include <QComboBox>

TFormFOREnd::TFormFOREnd(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormFOREnd) {
    ui->setupUi(this);
    SetUpFrame();
}

TFormFOREnd::~TFormFOREnd() = default;

QComboBox* TFormFOREnd::ComboBox1() const {
    return ui->ComboBox1;
}
