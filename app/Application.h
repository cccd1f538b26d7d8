#pragma once

// The application object: it carries the title and is the one place where an
// error that escaped a command is shown to the user. Commands do not catch;
// after the message box the program goes on with the state the command had
// reached.

#include <QApplication>
#include <QString>

#include <exception>
#include <string_view>

// "DEDEVAV流程图(ZR550)------Veltrano".
QString ApplicationTitle();

// The text of the error box: the message with a full stop added when its last
// character sorts after "." and is not a Chinese full stop, exclamation or
// question mark.
QString ErrorMessageText(const QString& message);

// The text of an exception message. Core code speaks GBK and desktop code
// UTF-8; GBK Chinese text is practically never valid UTF-8, so text that
// decodes as UTF-8 is taken as such and anything else as GBK.
QString ExceptionMessageText(std::string_view what);
// The same for a caught exception; running out of memory is said in Chinese.
QString ExceptionMessageText(const std::exception& error);

// Installs Qt's own Chinese texts (file dialogs, the buttons of message boxes,
// the edit boxes' context menus) whatever the system's language is: the
// program speaks Chinese only. False when the translation file is missing.
bool InstallToolkitTranslation(QCoreApplication& application);

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the error box for an escaped error.
    static void ShowException(const QString& message);
};
