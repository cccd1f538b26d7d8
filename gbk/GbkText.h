#pragma once

// The one place where text crosses between GBK bytes (files, records, the
// listing, the robot) and QString (widgets). Decoding is lossless: a byte that
// is not part of a displayable GBK character is kept as an escape code unit
// (a lone low surrogate U+DC80..U+DCFF) that encoding writes back as the same
// byte. Encoding refuses characters that GBK cannot represent instead of
// replacing them.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

QString GbkDecode(std::string_view bytes);

// The text of an error message: core code speaks GBK and desktop code UTF-8;
// GBK Chinese text is practically never valid UTF-8, so text that decodes as
// UTF-8 is taken as such and anything else as GBK.
QString MessageTextOf(std::string_view bytes);

// The GBK bytes of text, or nullopt when a character has no GBK form; then
// *badIndex (if given) receives the index of the first such character.
std::optional<std::string> GbkEncode(const QString& text, qsizetype* badIndex = nullptr);

// Index of the first character of text that GBK cannot represent, or -1.
qsizetype GbkFirstUnrepresentable(const QString& text);
