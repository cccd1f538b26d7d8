#include "blocks/dialogs/frmSubEnd.h"

#include "ui_frmSubEnd.h"

TFormSubEnd::TFormSubEnd(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormSubEnd) {
    ui->setupUi(this);
    SetUpFrame();
}

TFormSubEnd::~TFormSubEnd() = default;
