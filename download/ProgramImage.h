#pragma once

// The listing check and the program image: which lines of a listing the robot
// gets, and the compact byte form it loads them from. Text is GBK bytes; every
// length here is a byte count.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Why an image cannot be built or written. The desktop layer turns these into
// the user's message; nothing is ever shortened to make an image fit.
class EImageError : public std::runtime_error {
public:
    enum class TKind { StatementTooLong, ImageTooLong, WriteFailed, LineNumberOutOfRange };
    EImageError(TKind kind, std::int32_t lineNumber, std::size_t size, const std::string& what)
        : std::runtime_error(what), Kind(kind), LineNumber(lineNumber), Size(size) {}
    TKind Kind;
    std::int32_t LineNumber; // the listing's number of the offending line
    std::size_t Size;        // the offending byte count
    std::size_t Row = 0;     // the offending line's place in the listing, from 1
};

// The record carries the quoted text after a one-byte count on the robot's
// side, and the header announces the image length in 16 bits.
inline constexpr std::size_t MaxQuotedTextSize = 256;
inline constexpr std::size_t MaxImageSize = 65535;
inline constexpr std::uint16_t ImageAddressStart = 0x19C1;
inline constexpr std::uint8_t RemToken = 0x93;
// The record stores the line number in 16 bits.
inline constexpr std::int32_t MaxLineNumber = 65535;

// Tokens of a line: cut at runs of spaces and tabs, except inside a section
// opened by ' or " and closed by the same character (or the end of the line).
std::vector<std::string_view> TokeniseLine(std::string_view line);

// Reads a 32-bit signed integer: optional sign, then decimal digits, or hex
// digits after $, x, X, 0x or 0X (hex gives the 32-bit pattern).
bool ParseInteger(std::string_view token, std::int32_t* value);

// Begins and ends with a double quote, holds at least one character, and every
// inner double quote is doubled.
bool IsProperlyQuoted(std::string_view token);

// Removes the enclosing double quotes and undoubles inner ones; a token that
// does not begin with a double quote comes back unchanged.
std::string Unquote(std::string_view token);
std::string Quote(std::string_view text);

// 0 accepted; 1 eight bytes or shorter; 2 fewer than three tokens; otherwise
// the last failing of 3 (number), 4 (REM keyword), 5 (quoting), 6 (comment).
int CheckLine(std::string_view line);

// The tests of CheckLine without the comment test (codes 0..5); with three
// tokens or more also the line number and the third token re-quoted.
int SplitLine(std::string_view line, std::int32_t* lineNumber, std::string* quotedText);

// How many lines the check accepts: with none, the image holds only its end
// mark and downloading it erases the robot's program.
std::size_t ProgramLineCount(const std::vector<std::string>& lines);

// Builds the image of the accepted lines into buffer (emptied first). Throws
// EImageError, leaving the buffer empty, when a statement or the whole image
// is too long for the robot, or a line number does not fit its 16 bits
// (stored, it would wrap and jumps would land on another line).
void BuildImageBytes(const std::vector<std::string>& lines, std::vector<std::uint8_t>& buffer);

// BuildImageBytes, then writes the buffer to fileName, replacing its content;
// an image that cannot be built leaves the file untouched.
void BuildImage(const std::vector<std::string>& lines, const std::string& fileName,
                std::vector<std::uint8_t>& buffer);
