#include "blocks/controls/BlockDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

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
}

void TBlockDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen();
}

void TBlockDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
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
