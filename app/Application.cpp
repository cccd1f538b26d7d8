#include "app/Application.h"

#include "gbk/GbkText.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStringDecoder>
#include <QTranslator>

#include <new>

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

QString ExceptionMessageText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return u"内存不足，操作没有完成。请关闭其他程序或减小文件后再试。"_s;
    return ExceptionMessageText(error.what());
}

QString ExceptionMessageText(std::string_view what) {
    return MessageTextOf(what);
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
        ShowException(ExceptionMessageText(error));
    } catch (...) {
        ShowException(u"未知错误"_s);
    }
    return false;
}

void TApplication::ShowException(const QString& message) {
    QMessageBox::critical(activeWindow(), applicationName(), ErrorMessageText(message),
                          QMessageBox::Ok);
}
