#include "download/ProgramImage.h"

#include <fstream>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool StartsWithRem(std::string_view text) {
    return text.substr(0, 3) == "REM";
}

void AppendLittleEndian16(std::vector<std::uint8_t>& buffer, std::uint16_t value) {
    buffer.push_back(std::uint8_t(value & 0xFF));
    buffer.push_back(std::uint8_t(value >> 8));
}

} // namespace

std::vector<std::string_view> TokeniseLine(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t start = std::string_view::npos;
    char openQuote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (openQuote == 0 && IsBlank(c)) {
            if (start != std::string_view::npos) {
                tokens.push_back(line.substr(start, i - start));
                start = std::string_view::npos;
            }
            continue;
        }
        if (start == std::string_view::npos)
            start = i;
        if (openQuote == 0 && (c == '"' || c == '\''))
            openQuote = c;
        else if (c == openQuote)
            openQuote = 0;
    }
    if (start != std::string_view::npos)
        tokens.push_back(line.substr(start));
    return tokens;
}

bool ParseInteger(std::string_view token, std::int32_t* value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    std::string_view digits = token.substr(i);
    bool hex = false;
    if (digits.substr(0, 1) == "$" || digits.substr(0, 1) == "x" || digits.substr(0, 1) == "X") {
        hex = true;
        digits.remove_prefix(1);
    } else if (digits.substr(0, 2) == "0x" || digits.substr(0, 2) == "0X") {
        hex = true;
        digits.remove_prefix(2);
    }
    if (digits.empty())
        return false;
    std::uint64_t magnitude = 0;
    for (const char c : digits) {
        const int d = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (d < 0)
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + std::uint64_t(d);
        if (magnitude > 0xFFFFFFFFull)
            return false;
    }
    std::int64_t result;
    if (hex) {
        // Hex digits spell the 32-bit pattern, so $FFFFFFFF is -1.
        result = std::int32_t(std::uint32_t(magnitude));
    } else {
        result = std::int64_t(magnitude);
        if (negative ? result > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1
                     : result > std::numeric_limits<std::int32_t>::max())
            return false;
    }
    if (negative)
        result = -result;
    if (value)
        *value = std::int32_t(std::uint32_t(std::uint64_t(result)));
    return true;
}

bool IsProperlyQuoted(std::string_view token) {
    if (token.size() < 3 || token.front() != '"' || token.back() != '"')
        return false;
    const std::string_view inner = token.substr(1, token.size() - 2);
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] != '"')
            continue;
        if (i + 1 >= inner.size() || inner[i + 1] != '"')
            return false;
        ++i;
    }
    return true;
}

std::string Unquote(std::string_view token) {
    if (token.empty() || token.front() != '"')
        return std::string(token);
    std::string text;
    for (std::size_t i = 1; i < token.size(); ++i) {
        if (token[i] == '"') {
            if (i + 1 < token.size() && token[i + 1] == '"') {
                text.push_back('"');
                ++i;
                continue;
            }
            break;
        }
        text.push_back(token[i]);
    }
    return text;
}

std::string Quote(std::string_view text) {
    std::string token = "\"";
    for (const char c : text) {
        token.push_back(c);
        if (c == '"')
            token.push_back('"');
    }
    token.push_back('"');
    return token;
}

namespace {

// The shared part of CheckLine and SplitLine; withCommentTest adds test 6.
int CheckTokens(std::string_view line, bool withCommentTest, std::int32_t* lineNumber,
                std::string* quotedText) {
    if (line.size() <= 8)
        return 1;
    const auto tokens = TokeniseLine(line);
    if (tokens.size() < 3)
        return 2;
    int code = 0;
    std::int32_t number = 0;
    if (!ParseInteger(tokens[0], &number))
        code = 3;
    if (!StartsWithRem(tokens[1]))
        code = 4;
    if (!IsProperlyQuoted(tokens[2]))
        code = 5;
    if (withCommentTest && tokens[2].front() == '"' && StartsWithRem(tokens[2].substr(1)))
        code = 6;
    if (lineNumber)
        *lineNumber = number;
    if (quotedText)
        *quotedText = Quote(Unquote(tokens[2]));
    return code;
}

} // namespace

int CheckLine(std::string_view line) {
    return CheckTokens(line, true, nullptr, nullptr);
}

int SplitLine(std::string_view line, std::int32_t* lineNumber, std::string* quotedText) {
    return CheckTokens(line, false, lineNumber, quotedText);
}

std::size_t ProgramLineCount(const std::vector<std::string>& lines) {
    std::size_t count = 0;
    for (const std::string& line : lines)
        count += CheckLine(line) == 0 ? 1 : 0;
    return count;
}

void BuildImageBytes(const std::vector<std::string>& lines, std::vector<std::uint8_t>& buffer) {
    buffer.clear();
    std::uint16_t address = ImageAddressStart;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const std::string& line = lines[row];
        if (CheckLine(line) != 0)
            continue;
        std::int32_t number = 0;
        std::string text;
        SplitLine(line, &number, &text);
        if (number < 0 || number > MaxLineNumber) {
            buffer.clear();
            EImageError error(EImageError::TKind::LineNumberOutOfRange, number, 0,
                              "line number " + std::to_string(number) + " of line " +
                                  std::to_string(row + 1) + " does not fit in 16 bits");
            error.Row = row + 1;
            throw error;
        }
        if (text.size() > MaxQuotedTextSize) {
            buffer.clear();
            EImageError error(EImageError::TKind::StatementTooLong, number, text.size(),
                              "statement of line " + std::to_string(number) + " is " +
                                  std::to_string(text.size()) + " bytes long");
            error.Row = row + 1;
            throw error;
        }
        address = std::uint16_t(address + text.size() + 2);
        buffer.push_back(0x00);
        AppendLittleEndian16(buffer, address);
        AppendLittleEndian16(buffer, std::uint16_t(number));
        buffer.push_back(RemToken);
        buffer.insert(buffer.end(), text.begin(), text.end());
    }
    buffer.insert(buffer.end(), 3, 0x00);
    if (buffer.size() > MaxImageSize) {
        const std::size_t size = buffer.size();
        buffer.clear();
        throw EImageError(EImageError::TKind::ImageTooLong, 0, size,
                          "program image is " + std::to_string(size) + " bytes long");
    }
}

void BuildImage(const std::vector<std::string>& lines, const std::string& fileName,
                std::vector<std::uint8_t>& buffer) {
    BuildImageBytes(lines, buffer);
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (file)
        file.write(reinterpret_cast<const char*>(buffer.data()), std::streamsize(buffer.size()));
    if (file)
        file.close();
    if (!file)
        throw EImageError(EImageError::TKind::WriteFailed, 0, buffer.size(),
                          "cannot write the program image to " + fileName);
}
