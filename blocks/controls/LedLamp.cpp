#include "blocks/controls/LedLamp.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>

TLedLamp::TLedLamp(QWidget* parent) : QWidget(parent) {
    resize(17, 17);
}

void TLedLamp::SetOn(bool value) {
    if (value == on)
        return;
    on = value;
    update();
    emit Toggled(on);
}

void TLedLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 1.0;
    const QRectF lamp((width() - side) / 2.0, (height() - side) / 2.0, side, side);

    // A highlight towards the upper left makes the lamp read as a round bulb,
    // and a lit lamp is brighter all over than a dark one.
    const QColor base = on ? OnColour() : OffColour();
    QRadialGradient shading(lamp.center() - QPointF(side / 5.0, side / 5.0), side * 0.7);
    shading.setColorAt(0.0, on ? base.lighter(180) : base.lighter(130));
    shading.setColorAt(1.0, on ? base : base.darker(130));
    painter.setBrush(shading);
    painter.setPen(QPen(base.darker(200), 1.0));
    painter.drawEllipse(lamp);
}

void TLedLamp::mousePressEvent(QMouseEvent* event) {
    pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TLedLamp::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed = false;
    event->accept();
    if (click)
        emit Clicked();
}
