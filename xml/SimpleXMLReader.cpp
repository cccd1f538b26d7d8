#include "xml/SimpleXMLReader.h"

#include "xml/SimpleXML.h"

namespace {

bool IsPropNameByte(char c) {
    return c == '-' || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
           (c >= 'A' && c <= 'Z');
}

[[noreturn]] void FailUnexpectedInName(char c) {
    TSimpleXMLReader::Fail(
        std::string("Invalid XML Element: Unexpected character in property declaration (\"") + c +
        "\" found)");
}

} // namespace

void TSimpleXMLReader::Fail(const std::string& message) {
    throw ESimpleXMLError(message);
}

void TSimpleXMLReader::Expect(std::string_view opening, std::string_view errorPrefix,
                              std::string_view endMessage) {
    for (char expected : opening) {
        if (AtEnd())
            Fail(std::string(endMessage));
        const char found = Next();
        if (found != expected)
            Fail(std::string(errorPrefix) + "expected \"" + expected + "\" but found \"" + found +
                 "\"");
    }
}

void TSimpleXMLReader::EnterElement() {
    if (++Depth > TSimpleXML::MaxNestingDepth) {
        --Depth;
        Fail("Invalid XML Element: nesting deeper than " +
             std::to_string(TSimpleXML::MaxNestingDepth) + " levels");
    }
}

void TSimpleXMLReader::ReadProperties(TSimpleXMLProps& props) {
    enum class TState { BeforeName, InName, AfterName, BeforeValue, InValue };
    TState state = TState::BeforeName;
    std::string name, prefix, value;
    char quote = 0;
    while (!AtEnd()) {
        const char c = Peek();
        switch (state) {
        case TState::BeforeName:
            if (c == '/' || c == '>' || c == '?')
                return;
            if (IsPropNameByte(c)) {
                name.assign(1, c);
                prefix.clear();
                state = TState::InName;
            } else if (!IsWhitespace(c)) {
                FailUnexpectedInName(c);
            }
            break;
        case TState::InName:
            if (IsPropNameByte(c))
                name += c;
            else if (c == ':') {
                prefix = name;
                name.clear();
            } else if (c == '=')
                state = TState::BeforeValue;
            else if (IsWhitespace(c))
                state = TState::AfterName;
            else
                FailUnexpectedInName(c);
            break;
        case TState::AfterName:
            if (c == '=')
                state = TState::BeforeValue;
            else if (!IsWhitespace(c))
                FailUnexpectedInName(c);
            break;
        case TState::BeforeValue:
            if (c == '"' || c == '\'') {
                quote = c;
                value.clear();
                state = TState::InValue;
            } else if (!IsWhitespace(c)) {
                // The two blanks before "found" belong to the message.
                Fail(std::string("Invalid XML Element: Unexpected character in property "
                                 "declaration. Expecting \" or ' but \"") +
                     c + "\"  found");
            }
            break;
        case TState::InValue:
            if (c == quote) {
                props.AddText(name, value).Prefix = prefix;
                state = TState::BeforeName;
            } else {
                value += c;
            }
            break;
        }
        Skip();
    }
}
