#include "blocks/dialogs/frmBiaoDaShi.h"

#include "ui_frmBiaoDaShi.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QLineEdit>

TFormBiaoDaShi::TFormBiaoDaShi(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormBiaoDaShi) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->Edit1);
    ui->Label2->setFont(DialogFont(13));
}

TFormBiaoDaShi::~TFormBiaoDaShi() = default;

QLineEdit* TFormBiaoDaShi::Edit1() const {
    return ui->Edit1;
}
