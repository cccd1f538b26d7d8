#include "blocks/dialogs/frmGOTOIF.h"

#include "ui_frmGOTOIF.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QLineEdit>

TFormGOTOIF::TFormGOTOIF(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormGOTOIF) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->Edit2);
    TGbkTextValidator::Install(ui->Edit1);
}

TFormGOTOIF::~TFormGOTOIF() = default;

QLineEdit* TFormGOTOIF::Edit1() const {
    return ui->Edit1;
}

QLineEdit* TFormGOTOIF::Edit2() const {
    return ui->Edit2;
}
