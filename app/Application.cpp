#include "app/Application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>


using namespace Qt::StringLiterals;

QString ApplicationTitle() {
    return u"DEDEVAV流程图(ZR550)------Veltrano"_s;
}

QString ErrorMessageText(const QString& message) {
    // A Chinese sentence already ends in its own full stop.
    static const QString ownStops = u"。！？"_s;
    if (!message.isEmpty() && message.back() > u'.' && !ownStops.contains(message.back()))
        return message + u'.';
    return message;
}



bool InstallToolkitTranslation(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), u"qtbase"_s, u"_"_s,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(ApplicationTitle());
    SetErrorReporter([](const QString& text) { ShowException(text); });
}

TApplication::~TApplication() {
    SetErrorReporter(nullptr);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    // The last resort: commands report their own errors where they are
    // connected (Guarded); anything else still ends in the one display.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
    }
    return false;
}

void TApplication::ShowException(const QString& message) {
    QMessageBox::critical(activeWindow(), applicationName(), ErrorMessageText(message),
                          QMessageBox::Ok);
}
