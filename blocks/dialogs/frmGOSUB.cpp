#include "blocks/dialogs/frmGOSUB.h"

#include "ui_frmGOSUB.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

TFormGOSUB::TFormGOSUB(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormGOSUB) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->Edit1, u"<"_s);
}

TFormGOSUB::~TFormGOSUB() = default;

QLineEdit* TFormGOSUB::Edit1() const {
    return ui->Edit1;
}
