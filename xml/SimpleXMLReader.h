#pragma once

// The parser's view of its input: a byte cursor with the scanning steps that
// several node kinds share (fixed openings, the attribute list) and the nesting
// count that keeps the recursive element parser off the end of the stack.

#include <cstddef>
#include <string>
#include <string_view>

class TSimpleXMLProps;

class TSimpleXMLReader {
public:
    explicit TSimpleXMLReader(std::string_view data) : Data(data) {}

    bool AtEnd() const { return Pos >= Data.size(); }
    char Peek() const { return Data[Pos]; }
    char Next() { return Data[Pos++]; }
    void Skip() { ++Pos; }
    size_t Position() const { return Pos; }
    void Seek(size_t pos) { Pos = pos; }
    std::string_view Slice(size_t from, size_t to) const { return Data.substr(from, to - from); }

    // Consumes the bytes of opening one by one. A different byte raises
    // "<errorPrefix>expected "<e>" but found "<f>""; running out raises
    // endMessage.
    void Expect(std::string_view opening, std::string_view errorPrefix,
                std::string_view endMessage);

    // Reads attributes up to, not including, the "/", ">" or "?" that ends the
    // list, appending them to props; returns early at the end of the input
    // (an unterminated value is dropped).
    void ReadProperties(TSimpleXMLProps& props);

    // Enters one more element level; raises ESimpleXMLError beyond
    // TSimpleXML::MaxNestingDepth.
    void EnterElement();
    void LeaveElement() { --Depth; }

    // An element whose tag or end tag the input cut off: what was read stays
    // in the tree, and the document says that the input was incomplete.
    void NoteUnclosedElement() { Unclosed = true; }
    bool SawUnclosedElement() const { return Unclosed; }

    static bool IsWhitespace(char c) { return c == 9 || c == 10 || c == 13 || c == 32; }
    [[noreturn]] static void Fail(const std::string& message);

private:
    std::string_view Data;
    size_t Pos = 0;
    int Depth = 0;
    bool Unclosed = false;
};
