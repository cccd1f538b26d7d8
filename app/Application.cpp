#include "app/Application.h"

#include "gbk/GbkText.h"

#include <QMessageBox>
#include <QStringDecoder>

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
