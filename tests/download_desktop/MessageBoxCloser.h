#pragma once

// Answers every message box as soon as it is shown, from a queued call inside
// the box's own modal loop, and keeps its text.

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QStringList>

class TMessageBoxCloser : public QObject {
public:
    TMessageBoxCloser() { qApp->installEventFilter(this); }
    ~TMessageBoxCloser() override { qApp->removeEventFilter(this); }

    QStringList Texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                Texts.append(box->text());
                QMetaObject::invokeMethod(
                    box, [box] { box->accept(); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};
