#include "blocks/dialogs/frmLED.h"

#include "ui_frmLED.h"

#include "blocks/controls/LedLamp.h"

#include <QLabel>
#include <QMouseEvent>

TFormLED::TFormLED(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormLED) {
    ui->setupUi(this);
    SetUpFrame();
    connect(ui->LED1, &TLedLamp::Clicked, this, &TFormLED::LED1Click);
    connect(ui->LED2, &TLedLamp::Clicked, this, &TFormLED::LED2Click);
    connect(ui->LED3, &TLedLamp::Clicked, this, &TFormLED::LED3Click);
    // The captions are part of the click target, so a pupil can hit the
    // pin name instead of the small lamp.
    for (QLabel* caption : {ui->Label1, ui->Label2, ui->Label3})
        caption->installEventFilter(this);
}

TFormLED::~TFormLED() = default;

TLedLamp* TFormLED::LED1() const {
    return ui->LED1;
}

TLedLamp* TFormLED::LED2() const {
    return ui->LED2;
}

TLedLamp* TFormLED::LED3() const {
    return ui->LED3;
}

QLabel* TFormLED::Label1() const {
    return ui->Label1;
}

QLabel* TFormLED::Label2() const {
    return ui->Label2;
}

QLabel* TFormLED::Label3() const {
    return ui->Label3;
}

void TFormLED::SetLedMask(int mask) {
    ui->LED1->SetOn((mask & 1) == 0);
    ui->LED2->SetOn((mask & 2) == 0);
    ui->LED3->SetOn((mask & 4) == 0);
}

int TFormLED::GetLedMask() const {
    int mask = 0;
    if (!ui->LED1->IsOn())
        mask |= 1;
    if (!ui->LED2->IsOn())
        mask |= 2;
    if (!ui->LED3->IsOn())
        mask |= 4;
    return mask;
}

void TFormLED::LED1Click() {
    ui->LED1->Toggle();
}

void TFormLED::LED2Click() {
    ui->LED2->Toggle();
}

void TFormLED::LED3Click() {
    ui->LED3->Toggle();
}

bool TFormLED::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->Label1)
            LED1Click();
        else if (watched == ui->Label2)
            LED2Click();
        else if (watched == ui->Label3)
            LED3Click();
        else
            return TBlockDialog::eventFilter(watched, event);
        return true;
    }
    return TBlockDialog::eventFilter(watched, event);
}
