#include "blocks/dialogs/frmGOTOEnd.h"

#include "ui_frmGOTOEnd.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QLineEdit>

TFormGOTOEnd::TFormGOTOEnd(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormGOTOEnd) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->Edit1);
}

TFormGOTOEnd::~TFormGOTOEnd() = default;

QLineEdit* TFormGOTOEnd::Edit1() const {
    return ui->Edit1;
}
