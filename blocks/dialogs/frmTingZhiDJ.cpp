#include "blocks/dialogs/frmTingZhiDJ.h"

#include "ui_frmTingZhiDJ.h"

#include "blocks/controls/RadioGroup.h"

TFormTingZhiDJ::TFormTingZhiDJ(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormTingZhiDJ) {
    ui->setupUi(this);
    SetUpFrame();
}

TFormTingZhiDJ::~TFormTingZhiDJ() = default;

TRadioGroup* TFormTingZhiDJ::RadioGroup1() const {
    return ui->RadioGroup1;
}
