#pragma once

// Helpers for the widget tests of the block dialogs: one QApplication for the
// whole executable, typing into widgets, and running a modal dialog that a
// queued call closes.

#include "blocks/controls/BlockDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace ControlsTestSupport {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "blocks_desktop";
        static char* argv[] = {name, nullptr};
        App = new QApplication(argc, argv);
    }
    void TearDown() override { delete App; }

private:
    QApplication* App = nullptr;
};

inline const auto* const Environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Records the int argument of every emission of one signal.
class TIntSpy {
public:
    template <class Sender, class Signal> TIntSpy(Sender* sender, Signal signal) {
        QObject::connect(sender, signal, &Context, [this](int value) { Values.push_back(value); });
    }
    qsizetype count() const { return qsizetype(Values.size()); }
    int operator[](qsizetype i) const { return Values.at(size_t(i)); }

private:
    QObject Context;
    std::vector<int> Values;
};

inline void Key(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Types text one character (or surrogate pair) at a time, as a keyboard would.
inline void Type(QWidget* target, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        Key(target, Qt::Key_unknown, text.mid(i, n));
        i += n - 1;
    }
}

inline void SelectAllAndDelete(QWidget* target) {
    QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    QApplication::sendEvent(target, &selectAll);
    Key(target, Qt::Key_Delete);
}

// exec()'s result when `act` left the dialog open.
inline constexpr int LeftOpen = -1;

// Shows the dialog modally; once its loop runs, `act` is called from a queued
// call and is expected to close it. Returns exec()'s result. A dialog that
// `act` leaves open is closed with LeftOpen, so that a test fails instead of
// waiting for ever.
inline int ExecWith(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        act();
        if (dialog.isVisible())
            dialog.done(LeftOpen);
    });
    return dialog.exec();
}

inline QAbstractButton* FindButton(QWidget& dialog, const char16_t* name) {
    return dialog.findChild<QAbstractButton*>(QString::fromUtf16(name));
}

// Every button closes with its result, and the close box and Escape give
// Cancel. Enter is the subject of DialogKeysTest, with the focus where a
// pupil would have it.
inline void ExpectFrameResults(TBlockDialog& dialog, bool hasOk) {
    ASSERT_EQ(FindButton(dialog, u"Button1") != nullptr, hasOk) << "OK button presence";
    if (hasOk) {
        EXPECT_EQ(ExecWith(dialog, [&] { FindButton(dialog, u"Button1")->click(); }), 1);
    }
    EXPECT_EQ(ExecWith(dialog, [&] { FindButton(dialog, u"Button2")->click(); }), 2);
    EXPECT_EQ(ExecWith(dialog, [&] { FindButton(dialog, u"Button3")->click(); }), 7);
    EXPECT_EQ(ExecWith(dialog, [&] { dialog.close(); }), 2);
    EXPECT_EQ(ExecWith(dialog, [&] { Key(&dialog, Qt::Key_Escape); }), 2);
}

// The fixed-size frame in the dialog font, without minimise or maximise box.
inline void ExpectFrame(const TBlockDialog& dialog) {
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.minimumSize(), dialog.size());
    EXPECT_EQ(dialog.font().pixelSize(), 16);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
    // OK is marked as what Enter presses, and no other button takes the
    // mark by taking the focus.
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        EXPECT_EQ(button->isDefault(), button->objectName() == u"Button1")
            << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

// Nothing is clipped with the fonts of this platform: each control lies within
// its parent, and each label, radio button and push button has room for its text.
inline void ExpectNothingClipped(const QWidget& dialog) {
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->parentWidget() || w->isWindow() || !w->isVisibleTo(&dialog) ||
            w->objectName().startsWith(u"qt_"))
            continue;
        const std::string name = w->objectName().toStdString();
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << name << " outside";
        if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            // The style's hint for a push button asks for generous bevels;
            // the text itself must fit.
            const QFontMetrics metrics = button->fontMetrics();
            EXPECT_LE(metrics.horizontalAdvance(button->text()) + 8, button->width()) << name;
            EXPECT_LE(metrics.height(), button->height()) << name;
        } else if (qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w)) {
            EXPECT_LE(w->sizeHint().width(), w->width()) << name << " too narrow";
            EXPECT_LE(w->sizeHint().height(), w->height()) << name << " too low";
        }
    }
}

} // namespace ControlsTestSupport
