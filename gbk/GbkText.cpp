#include "gbk/GbkText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool IsEscape(char16_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}
bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsPrivateUse(char16_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

bool IsLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// Decodes one GBK unit (one byte, or a lead and trail pair) to a single UTF-16
// character that encodes back to exactly the same bytes; nullopt otherwise.
std::optional<char16_t> DecodeUnit(std::string_view unit) {
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArrayView(unit.data(), qsizetype(unit.size())));
    if (decoder.hasError() || decoded.size() != 1)
        return std::nullopt;
    const char16_t c = decoded.at(0).unicode();
    if (c == 0xFFFD || IsPrivateUse(c) || IsHighSurrogate(c) || IsLowSurrogate(c))
        return std::nullopt;
    QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    const QByteArray back = encoder.encode(decoded);
    if (encoder.hasError() || std::string_view(back.constData(), size_t(back.size())) != unit)
        return std::nullopt;
    return c;
}

} // namespace

QString GbkDecode(std::string_view bytes) {
    QString out;
    out.reserve(qsizetype(bytes.size()));
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.append(QChar(char16_t(b)));
            ++i;
            continue;
        }
        if (IsLeadByte(b) && i + 1 < bytes.size() &&
            IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            if (auto c = DecodeUnit(bytes.substr(i, 2))) {
                out.append(QChar(*c));
                i += 2;
                continue;
            }
        } else if (auto c = DecodeUnit(bytes.substr(i, 1))) {
            out.append(QChar(*c));
            ++i;
            continue;
        }
        out.append(QChar(char16_t(EscapeBase + b)));
        ++i;
    }
    return out;
}

std::optional<std::string> GbkEncode(const QString& text, qsizetype* badIndex) {
    std::string out;
    out.reserve(size_t(text.size()) * 2);
    QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80) {
            out.push_back(char(c));
            ++i;
            continue;
        }
        if (IsEscape(c)) {
            out.push_back(char(c - EscapeBase));
            ++i;
            continue;
        }
        // A run of characters up to the next ASCII or escape unit goes to the
        // codec at once; a run the codec cannot take whole is retried one
        // character at a time to find the culprit.
        qsizetype end = i;
        while (end < n && text.at(end).unicode() >= 0x80 && !IsEscape(text.at(end).unicode()))
            ++end;
        const QStringView run = QStringView(text).sliced(i, end - i);
        const QByteArray bytes = encoder.encode(run);
        if (!encoder.hasError() && !run.contains(QChar(0xFFFD))) {
            out.append(bytes.constData(), size_t(bytes.size()));
            i = end;
            continue;
        }
        for (qsizetype k = i; k < end; ++k) {
            QStringEncoder oneEncoder("GBK", QStringEncoder::Flag::Stateless);
            const char16_t u = text.at(k).unicode();
            const bool pair =
                IsHighSurrogate(u) && k + 1 < end && IsLowSurrogate(text.at(k + 1).unicode());
            const QStringView one = QStringView(text).sliced(k, pair ? 2 : 1);
            const QByteArray oneBytes = oneEncoder.encode(one);
            if (pair || oneEncoder.hasError() || u == 0xFFFD || IsHighSurrogate(u) ||
                IsLowSurrogate(u) || oneBytes.isEmpty() ||
                (oneBytes.size() == 1 && oneBytes.at(0) == '?')) {
                if (badIndex)
                    *badIndex = k;
                return std::nullopt;
            }
            out.append(oneBytes.constData(), size_t(oneBytes.size()));
        }
        i = end;
    }
    return out;
}

qsizetype GbkFirstUnrepresentable(const QString& text) {
    qsizetype bad = -1;
    return GbkEncode(text, &bad) ? -1 : bad;
}

QString MessageTextOf(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError())
        return text;
    return GbkDecode(bytes);
}
