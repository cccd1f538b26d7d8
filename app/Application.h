#pragma once

// The application object: it carries the title and installs the one error
// display (a message box). Commands connected to signals report their own
// errors through it (Guarded); the event loop's handler is the last resort.
// After the message box the program goes on with the state the command had
// reached.

// ExceptionMessageText lives with the one error display.
#include "errors/ErrorReport.h"

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

// Installs Qt's own Chinese texts (file dialogs, the buttons of message boxes,
// the edit boxes' context menus) whatever the system's language is: the
// program speaks Chinese only. False when the translation file is missing.
bool InstallToolkitTranslation(QCoreApplication& application);

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the error box for an escaped error.
    static void ShowException(const QString& message);
};
