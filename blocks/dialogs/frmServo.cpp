#include "blocks/dialogs/frmServo.h"

#include "ui_frmServo.h"

#include <QLabel>
#include <QScrollBar>

using namespace Qt::StringLiterals;

TFormServo::TFormServo(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormServo) {
    ui->setupUi(this);
    SetUpFrame();
    for (int n = 1; n <= ServoCount; ++n) {
        QScrollBar* bar = ScrollBar(n);
        connect(bar, &QScrollBar::valueChanged, this, [this, bar] { ScrollBarSChange(bar); });
    }
    connect(ui->ScrollBarSpeed, &QScrollBar::valueChanged, this, &TFormServo::ScrollBarSpeedChange);
}

TFormServo::~TFormServo() = default;

QScrollBar* TFormServo::ScrollBar1() const {
    return ui->ScrollBar1;
}

QScrollBar* TFormServo::ScrollBar2() const {
    return ui->ScrollBar2;
}

QScrollBar* TFormServo::ScrollBar3() const {
    return ui->ScrollBar3;
}

QScrollBar* TFormServo::ScrollBar4() const {
    return ui->ScrollBar4;
}

QScrollBar* TFormServo::ScrollBar5() const {
    return ui->ScrollBar5;
}

QScrollBar* TFormServo::ScrollBarSpeed() const {
    return ui->ScrollBarSpeed;
}

QScrollBar* TFormServo::ScrollBar(int n) const {
    if (n < 1 || n > ServoCount)
        return nullptr;
    return findChild<QScrollBar*>(u"ScrollBar"_s + QString::number(n));
}

QLabel* TFormServo::LabelVal(int n) const {
    if (n < 1 || n > ServoCount)
        return nullptr;
    return findChild<QLabel*>(u"LabelVal"_s + QString::number(n));
}

QLabel* TFormServo::LabelSpdVal() const {
    return ui->LabelSpdVal;
}

void TFormServo::ScrollBarSChange(QScrollBar* sender) {
    if (!sender)
        return;
    const int tag = sender->property("Tag").toInt();
    if (QLabel* label = findChild<QLabel*>(u"LabelVal"_s + QString::number(tag)))
        label->setText(QString::number(sender->value()));
}

void TFormServo::ScrollBarSpeedChange() {
    ui->LabelSpdVal->setText(QString::number(ui->ScrollBarSpeed->value()));
}
