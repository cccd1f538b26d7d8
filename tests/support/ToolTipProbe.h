#pragma once

// What the user sees when the mouse rests on a widget: sends the tooltip
// request that hovering makes and reads the tooltip that is then shown.

#include <QApplication>
#include <QHelpEvent>
#include <QString>
#include <QToolTip>
#include <QWidget>

inline QString ToolTipShownAt(QWidget* widget, QPoint pos) {
    // QToolTip::hideText() lets the last tip fade out; it must be gone now.
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->inherits("QTipLabel"))
            top->hide();
    QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

inline QString ToolTipShownOn(QWidget* widget) {
    return ToolTipShownAt(widget, widget->rect().center());
}
