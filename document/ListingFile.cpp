#include "document/ListingFile.h"

#include "files/UserFile.h"
#include "gbk/GbkText.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void Fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

} // namespace

void WriteListingFile(const QString& path, const QStringList& lines) {
    std::string bytes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        qsizetype bad = -1;
        const auto encoded = GbkEncode(lines[i], &bad);
        if (!encoded)
            Fail(u"第%1行含有无法保存的字符\"%2\", 文件没有写入"_s.arg(i + 1).arg(
                lines[i].mid(bad, lines[i].at(bad).isHighSurrogate() ? 2 : 1)));
        bytes += *encoded;
        bytes += "\r\n";
    }
    WriteUserFile(path, QByteArrayView(bytes.data(), qsizetype(bytes.size())), ListingFileWhat());
}

QString ListingFileWhat() {
    return u"程序清单文件"_s;
}

QStringList SplitListingLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QStringList ReadListingFile(const QString& path) {
    QByteArray bytes = ReadUserFile(path, ListingFileWhat());
    // Editors that save UTF-8 put a byte order mark first; left in, it would
    // spoil the first line's number and the line would be dropped.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return SplitListingLines(GbkDecode(std::string_view(bytes.constData(), size_t(bytes.size()))));
}
