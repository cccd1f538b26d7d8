#include "blocks/dialogs/frmGOTOBegin.h"

#include "ui_frmGOTOBegin.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QLineEdit>

TFormGOTOBegin::TFormGOTOBegin(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormGOTOBegin) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->Edit1);
}

TFormGOTOBegin::~TFormGOTOBegin() = default;

QLineEdit* TFormGOTOBegin::Edit1() const {
    return ui->Edit1;
}
