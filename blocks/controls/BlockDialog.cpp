#include "blocks/controls/BlockDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

using namespace Qt::StringLiterals;

TBlockDialog::TBlockDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
}

QFont TBlockDialog::DialogFont(int pixelSize) {
    QFont font;
    font.setFamilies({u"宋体"_s, u"SimSun"_s, u"NSimSun"_s, u"Noto Serif CJK SC"_s,
                      u"Noto Sans CJK SC"_s, u"WenQuanYi Zen Hei"_s});
    font.setPixelSize(pixelSize);
    return font;
}

void TBlockDialog::reject() {
    done(DialogResultCancel);
}

void TBlockDialog::SetUpFrame() {
    setFixedSize(size());
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    const struct {
        QString name;
        int result;
    } bindings[] = {{u"Button1"_s, DialogResultOK},
                    {u"Button2"_s, DialogResultCancel},
                    {u"Button3"_s, DialogResultDelete}};
    for (const auto& binding : bindings) {
        if (auto* button = findChild<QPushButton*>(binding.name)) {
            const int result = binding.result;
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        }
    }
    // Auto-default stays off: a focused Delete button would otherwise take
    // Enter for itself.
    if (auto* ok = findChild<QPushButton*>(u"Button1"_s))
        ok->setDefault(true);
}

void TBlockDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen();
}

namespace {

bool IsEnter(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return (event->key() == Qt::Key_Return && modifiers == Qt::NoModifier) ||
           (event->key() == Qt::Key_Enter && (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier);
}

} // namespace

// Reached by the keys the focused widget did not take: a line edit has
// already finished its editing (a numeric edit has clamped its text) when
// Enter gets here, so OK collects what the pupil sees.
void TBlockDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        reject();
        return;
    }
    if (IsEnter(event)) {
        event->accept();
        if (FocusKeepsEnter())
            return;
        auto* ok = findChild<QPushButton*>(u"Button1"_s);
        if (ok && ok->isVisible() && ok->isEnabled())
            ok->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A list or tree reports Enter as item activation and then passes it on, so
// it must be stopped here; a multi-line box normally takes it, but not when
// read-only. A pop-up has the keyboard while it is open.
bool TBlockDialog::FocusKeepsEnter() const {
    if (QApplication::activePopupWidget())
        return true;
    for (const QWidget* w = focusWidget(); w && w != this; w = w->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
            qobject_cast<const QTextEdit*>(w))
            return true;
    }
    return false;
}

void TBlockDialog::CentreOnScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}
