#include "blocks/dialogs/frmJieShu.h"

#include "ui_frmJieShu.h"

TFormJieShu::TFormJieShu(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormJieShu) {
    ui->setupUi(this);
    SetUpFrame();
}

TFormJieShu::~TFormJieShu() = default;
