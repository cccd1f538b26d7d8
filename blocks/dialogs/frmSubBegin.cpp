#include "blocks/dialogs/frmSubBegin.h"

#include "ui_frmSubBegin.h"

#include "blocks/controls/GbkTextValidator.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

TFormSubBegin::TFormSubBegin(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormSubBegin) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->Edit1, u"<"_s);
}

TFormSubBegin::~TFormSubBegin() = default;

QLineEdit* TFormSubBegin::Edit1() const {
    return ui->Edit1;
}
