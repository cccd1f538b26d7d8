#include "app/Application.h"

#include "gbk/GbkText.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStringDecoder>
#include <QTranslator>

using namespace Qt::StringLiterals;

QString ApplicationTitle() {
    return u"DEDEVAV流程图(ZR550)------Veltrano"_s;
}

QString ErrorMessageText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

QString ExceptionMessageText(std::string_view what) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(what.data(), qsizetype(what.size())));
    if (!utf8.hasError())
        return text;
    return GbkDecode(what);
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
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(ExceptionMessageText(error.what()));
    } catch (...) {
        ShowException(u"未知错误"_s);
    }
    return false;
}

void TApplication::ShowException(const QString& message) {
    QMessageBox::critical(activeWindow(), applicationName(), ErrorMessageText(message),
                          QMessageBox::Ok);
}
