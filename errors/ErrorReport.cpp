#include "errors/ErrorReport.h"

#include "gbk/GbkText.h"

#include <QByteArray>

#include <cstdio>
#include <new>

using namespace Qt::StringLiterals;

namespace {

std::function<void(const QString&)>& Reporter() {
    static std::function<void(const QString&)> reporter;
    return reporter;
}

} // namespace

QString ExceptionMessageText(std::string_view what) {
    return MessageTextOf(what);
}

QString ExceptionMessageText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return u"内存不足，操作没有完成。请关闭其他程序或减小文件后再试。"_s;
    return ExceptionMessageText(error.what());
}

void SetErrorReporter(std::function<void(const QString& text)> reporter) {
    Reporter() = std::move(reporter);
}

void ReportErrorText(const QString& text) {
    if (Reporter()) {
        Reporter()(text);
        return;
    }
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void ReportCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        ReportErrorText(ExceptionMessageText(error));
    } catch (...) {
        ReportErrorText(u"未知错误"_s);
    }
}
