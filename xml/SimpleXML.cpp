#include "xml/SimpleXML.h"

#include "xml/SimpleXMLReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr const char* LineEnd = "\r\n";

bool IsBlank(char c) {
    return c == ' ';
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

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && SimpleXMLUpperName(a) == SimpleXMLUpperName(b);
}

void AppendAttributes(std::string& out, const TSimpleXMLProps* props) {
    if (!props)
        return;
    for (int i = 0; i < props->Count(); ++i) {
        const TSimpleXMLProp* prop = props->At(i);
        out += ' ';
        out += prop->FullName();
        out += "=\"";
        out += prop->Value;
        out += '"';
    }
}

std::string Trimmed(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && TSimpleXMLReader::IsWhitespace(text[first]))
        ++first;
    while (last > first && TSimpleXMLReader::IsWhitespace(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

// The platform's reason for the last failed file call, as the file error
// messages carry it.
std::string LastErrorText() {
    return std::strerror(errno);
}

} // namespace

// ---------------------------------------------------------------------------
// Value readers and entity routines

std::optional<int64_t> SimpleXMLParseInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit =
            hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0)
            return std::nullopt;
        const uint64_t base = hex ? 16 : 10;
        if (magnitude > (UINT64_MAX - uint64_t(digit)) / base)
            return std::nullopt;
        magnitude = magnitude * base + uint64_t(digit);
    }
    // Hexadecimal text is a 64-bit pattern ("$FFFFFFFFFFFFFFFF" is -1); decimal
    // text must fit the signed range.
    if (!hex) {
        const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
        if (magnitude > limit)
            return std::nullopt;
    }
    const uint64_t bits = negative ? ~magnitude + 1 : magnitude;
    return static_cast<int64_t>(bits);
}

bool SimpleXMLParseBool(std::string_view text) {
    // A floating-point number: blanks around it, optional sign, digits with an
    // optional fraction (at least one digit), optional exponent.
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool anyDigit = false;
    bool nonZero = false;
    auto digits = [&] {
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            anyDigit = true;
            nonZero = nonZero || text[i] != '0';
            ++i;
        }
    };
    digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits();
    }
    bool isNumber = anyDigit;
    if (isNumber && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const size_t exponentStart = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        isNumber = i > exponentStart;
    }
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (isNumber && i == text.size())
        return nonZero;
    return EqualsNoCase(text, "TRUE");
}

std::string SimpleXMLUpperName(std::string_view name) {
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return upper;
}

std::string EncodeEntities(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "&quot;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            if (byte >= 0x80) {
                out += "&#x";
                out += Hex[byte >> 4];
                out += Hex[byte & 0xF];
                out += ';';
            } else {
                out += c;
            }
        }
    }
    return out;
}

std::string DecodeEntities(std::string_view text) {
    struct TNamed {
        std::string_view Reference;
        char Byte;
    };
    static constexpr TNamed Named[] = {
        {"&AMP;", '&'}, {"&LT;", '<'}, {"&GT;", '>'}, {"&APOS;", '\''}, {"&QUOT;", '"'}};

    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '#') {
            size_t digitsStart = i + 2;
            const bool hex =
                digitsStart < text.size() && (text[digitsStart] == 'x' || text[digitsStart] == 'X');
            if (hex)
                ++digitsStart;
            const size_t semicolon = text.find(';', digitsStart);
            if (semicolon != std::string_view::npos) {
                const std::string_view digitText =
                    text.substr(digitsStart, semicolon - digitsStart);
                const std::optional<int64_t> value =
                    SimpleXMLParseInt(hex ? "$" + std::string(digitText) : std::string(digitText));
                if (value && *value > 0) {
                    out += static_cast<char>(*value & 0xFF);
                    i = semicolon + 1;
                    continue;
                }
            }
            out += text[i++];
            continue;
        }
        bool matched = false;
        for (const TNamed& named : Named) {
            const std::string_view candidate = text.substr(i, named.Reference.size());
            if (EqualsNoCase(candidate, named.Reference)) {
                out += named.Byte;
                i += named.Reference.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            out += text[i++];
    }
    return out;
}

// ---------------------------------------------------------------------------
// Attribute list

TSimpleXMLProp& TSimpleXMLProps::Append(std::unique_ptr<TSimpleXMLProp> prop) {
    Items.push_back(std::move(prop));
    return *Items.back();
}

TSimpleXMLProp& TSimpleXMLProps::AddText(const std::string& name, const std::string& value) {
    auto prop = std::make_unique<TSimpleXMLProp>();
    prop->Name = name;
    prop->Value = value;
    return Append(std::move(prop));
}

TSimpleXMLProp& TSimpleXMLProps::AddInt(const std::string& name, int64_t value) {
    return AddText(name, std::to_string(value));
}

TSimpleXMLProp* TSimpleXMLProps::At(int i) const {
    return i >= 0 && i < Count() ? Items[size_t(i)].get() : nullptr;
}

TSimpleXMLProp* TSimpleXMLProps::FindNamed(std::string_view name) const {
    const std::string key = SimpleXMLUpperName(name);
    for (auto it = Items.rbegin(); it != Items.rend(); ++it)
        if (SimpleXMLUpperName((*it)->Name) == key)
            return it->get();
    return nullptr;
}

std::string TSimpleXMLProps::TextOf(std::string_view name, const std::string& defaultValue) const {
    const TSimpleXMLProp* prop = FindNamed(name);
    return prop ? prop->Value : defaultValue;
}

int64_t TSimpleXMLProps::IntOf(std::string_view name, int64_t defaultValue) const {
    const TSimpleXMLProp* prop = FindNamed(name);
    if (!prop)
        return defaultValue;
    return SimpleXMLParseInt(prop->Value).value_or(-1);
}

void TSimpleXMLProps::Clear() {
    Items.clear();
}

// ---------------------------------------------------------------------------
// Child list

TSimpleXMLElems::~TSimpleXMLElems() = default;

TSimpleXMLElem& TSimpleXMLElems::Append(std::unique_ptr<TSimpleXMLElem> node) {
    node->Parent = Parent;
    Items.push_back(std::move(node));
    IndexValid = false;
    return *Items.back();
}

TSimpleXMLElemClassic& TSimpleXMLElems::AddNamed(const std::string& name) {
    auto elem = std::make_unique<TSimpleXMLElemClassic>(Parent);
    elem->Name = name;
    return static_cast<TSimpleXMLElemClassic&>(Append(std::move(elem)));
}

TSimpleXMLElemClassic& TSimpleXMLElems::AddText(const std::string& name, const std::string& text) {
    TSimpleXMLElemClassic& elem = AddNamed(name);
    elem.Content = text;
    return elem;
}

TSimpleXMLElemClassic& TSimpleXMLElems::AddInt(const std::string& name, int64_t value) {
    return AddText(name, std::to_string(value));
}

TSimpleXMLElemClassic& TSimpleXMLElems::AddBool(const std::string& name, bool value) {
    return AddText(name, value ? "-1" : "0");
}

TSimpleXMLElem* TSimpleXMLElems::At(int i) const {
    return i >= 0 && i < Count() ? Items[size_t(i)].get() : nullptr;
}

void TSimpleXMLElems::RebuildIndex() const {
    Index.clear();
    for (const auto& item : Items)
        if (auto* elem = dynamic_cast<TSimpleXMLElemClassic*>(item.get()))
            Index[SimpleXMLUpperName(elem->Name)] = elem; // later equals overwrite earlier ones
    IndexValid = true;
}

TSimpleXMLElemClassic* TSimpleXMLElems::FindNamed(std::string_view name) const {
    if (!IndexValid)
        RebuildIndex();
    const auto it = Index.find(SimpleXMLUpperName(name));
    return it == Index.end() ? nullptr : it->second;
}

std::string TSimpleXMLElems::TextOf(std::string_view name, const std::string& defaultValue) const {
    const TSimpleXMLElemClassic* elem = FindNamed(name);
    return elem ? elem->Content : defaultValue;
}

int64_t TSimpleXMLElems::IntOf(std::string_view name, int64_t defaultValue) const {
    const TSimpleXMLElemClassic* elem = FindNamed(name);
    if (!elem)
        return defaultValue;
    return SimpleXMLParseInt(elem->Content).value_or(-1);
}

bool TSimpleXMLElems::BoolOf(std::string_view name, bool defaultValue) const {
    const TSimpleXMLElemClassic* elem = FindNamed(name);
    if (!elem || elem->Content.empty())
        return defaultValue;
    return SimpleXMLParseBool(elem->Content);
}

void TSimpleXMLElems::Clear() {
    Items.clear();
    IndexValid = false;
}

void TSimpleXMLElems::Delete(int i) {
    if (i < 0 || i >= Count())
        return;
    Items.erase(Items.begin() + i);
    IndexValid = false;
}

// ---------------------------------------------------------------------------
// Node base

TSimpleXMLElem::TSimpleXMLElem(TSimpleXMLElem* parent) : Parent(parent) {}

TSimpleXMLElem::~TSimpleXMLElem() = default;

std::string TSimpleXMLElem::FullName() const {
    return TagPrefix.empty() ? Name : TagPrefix + ":" + Name;
}

TSimpleXMLElems& TSimpleXMLElem::Children() {
    if (!ChildList)
        ChildList = std::make_unique<TSimpleXMLElems>(this);
    return *ChildList;
}

TSimpleXMLProps& TSimpleXMLElem::Attributes() {
    if (!PropList)
        PropList = std::make_unique<TSimpleXMLProps>();
    return *PropList;
}

TSimpleXML* TSimpleXMLElem::OwnerDoc() const {
    const TSimpleXMLElem* top = this;
    while (top->Parent)
        top = top->Parent;
    return top->Document;
}

void TSimpleXMLElem::Rename(const std::string& name) {
    if (name.empty() || name == Name)
        return;
    Name = name;
    if (Parent && Parent->ChildList)
        Parent->ChildList->IndexValid = false;
}

void TSimpleXMLElem::ClearContent() {
    if (ChildList)
        ChildList->Clear();
    if (PropList)
        PropList->Clear();
}

void TSimpleXMLElem::CopyFrom(const TSimpleXMLElem* source) {
    // Copying from this node or from a node inside its own subtree would
    // destroy the source while it is being read: take a detached copy first.
    for (const TSimpleXMLElem* up = source; up; up = up->Parent) {
        if (up == this) {
            const std::unique_ptr<TSimpleXMLElem> detached = source->CreateSameKind(nullptr);
            detached->CopyFrom(source);
            CopyFrom(detached.get());
            return;
        }
    }
    ClearContent();
    if (!source)
        return;
    Rename(source->Name);
    Content = source->Content;
    if (source->PropList)
        for (int i = 0; i < source->PropList->Count(); ++i) {
            const TSimpleXMLProp* prop = source->PropList->At(i);
            Attributes().AddText(prop->Name, prop->Value);
        }
    if (source->ChildList)
        for (int i = 0; i < source->ChildList->Count(); ++i) {
            const TSimpleXMLElem* child = source->ChildList->At(i);
            std::unique_ptr<TSimpleXMLElem> copy = child->CreateSameKind(this);
            copy->CopyFrom(child);
            Children().Append(std::move(copy));
        }
}

// ---------------------------------------------------------------------------
// Element

namespace {

// Reads the children of an element up to and including its end tag. Answers
// false when the input ends first; otherwise endName holds the end tag's full
// name.
bool ReadElementContent(TSimpleXMLElemClassic& elem, TSimpleXMLReader& reader,
                        std::string& endName) {
    bool whitespaceNoted = false;
    size_t childStart = reader.Position();
    while (!reader.AtEnd()) {
        const char c = reader.Peek();
        if (TSimpleXMLReader::IsWhitespace(c)) {
            whitespaceNoted = true;
            reader.Skip();
            continue;
        }
        std::unique_ptr<TSimpleXMLElem> node;
        if (c == '<') {
            const size_t tagStart = reader.Position();
            reader.Skip();
            if (reader.AtEnd())
                return false;
            if (reader.Peek() == '/') {
                reader.Skip();
                std::string prefix, name;
                for (;;) {
                    if (reader.AtEnd())
                        return false;
                    const char n = reader.Next();
                    if (n == '>')
                        break;
                    if (n == ':') {
                        prefix = name;
                        name.clear();
                    } else {
                        name += n;
                    }
                }
                // Content made only of whitespace is the element's value.
                if (whitespaceNoted && elem.ChildCount() == 0) {
                    auto text = std::make_unique<TSimpleXMLElemText>(&elem);
                    text->Content = std::string(reader.Slice(childStart, tagStart));
                    elem.Children().Append(std::move(text));
                }
                endName = prefix.empty() ? name : prefix + ":" + name;
                return true;
            }
            std::string collected = "<";
            for (;;) {
                if (reader.AtEnd())
                    return false;
                const char n = reader.Next();
                if (collected == "<![CDATA" && TSimpleXMLReader::IsWhitespace(n))
                    continue;
                if (TSimpleXMLReader::IsWhitespace(n) || n == ':' || n == '>' || n == '/') {
                    node = std::make_unique<TSimpleXMLElemClassic>(&elem);
                    break;
                }
                collected += n;
                if (collected == "<![CDATA[") {
                    node = std::make_unique<TSimpleXMLElemCData>(&elem);
                    break;
                }
                if (collected == "<!--") {
                    node = std::make_unique<TSimpleXMLElemComment>(&elem);
                    break;
                }
            }
            reader.Seek(tagStart);
        } else {
            // A text node takes the whitespace before it as well.
            reader.Seek(childStart);
            node = std::make_unique<TSimpleXMLElemText>(&elem);
        }
        // Appended before it is read, so that a parse error leaves what was
        // read so far in the tree.
        TSimpleXMLElem& child = elem.Children().Append(std::move(node));
        child.ReadFrom(reader);
        whitespaceNoted = false;
        childStart = reader.Position();
    }
    return false;
}

} // namespace

std::unique_ptr<TSimpleXMLElem>
TSimpleXMLElemClassic::CreateSameKind(TSimpleXMLElem* parent) const {
    return std::make_unique<TSimpleXMLElemClassic>(parent);
}

void TSimpleXMLElemClassic::ReadFrom(TSimpleXMLReader& reader) {
    reader.EnterElement();
    struct TLeave {
        TSimpleXMLReader& Reader;
        ~TLeave() { Reader.LeaveElement(); }
    } leave{reader};

    if (reader.AtEnd()) {
        reader.NoteUnclosedElement();
        return;
    }
    const char first = reader.Next();
    if (first != '<')
        TSimpleXMLReader::Fail(
            std::string("Invalid XML Element: Expected beginning of tag but \"") + first +
            "\" found");

    std::string name, prefix;
    std::string content;
    bool closed = false;
    while (!reader.AtEnd()) {
        const char c = reader.Next();
        if (TSimpleXMLReader::IsWhitespace(c)) {
            if (name.empty())
                TSimpleXMLReader::Fail("Invalid XML Element: malformed tag found (no valid name)");
            reader.ReadProperties(Attributes());
            continue;
        }
        if (c == ':') {
            prefix = name;
            name.clear();
            continue;
        }
        if (c == '/') {
            if (!reader.AtEnd()) {
                const char end = reader.Next();
                if (end != '>')
                    TSimpleXMLReader::Fail(
                        std::string("Invalid XML Element: Expected end of tag but \"") + end +
                        "\" found");
                closed = true;
            }
            break;
        }
        if (c == '>') {
            std::string endName;
            closed = ReadElementContent(*this, reader, endName);
            if (closed) {
                const std::string fullName = prefix.empty() ? name : prefix + ":" + name;
                // Hand-written files mix letter case in end tags; accept them.
                if (SimpleXMLUpperName(endName) != SimpleXMLUpperName(fullName))
                    TSimpleXMLReader::Fail(
                        "Invalid XML Element: Erroneous end of tag, expecting </" + name +
                        "> but </" + endName + "> found");
            }
            if (ChildCount() == 1 && dynamic_cast<TSimpleXMLElemText*>(Children().At(0))) {
                content = Children().At(0)->Content;
                Children().Delete(0);
            }
            break;
        }
        name += c;
    }
    if (!closed)
        reader.NoteUnclosedElement();
    Rename(name);
    Content = content;
    TagPrefix = prefix;
}

void TSimpleXMLElemClassic::WriteTo(std::string& out, const std::string& indent) const {
    const std::string fullName = FullName();
    if (!Name.empty()) {
        out += indent;
        out += '<';
        out += fullName;
        AppendAttributes(out, AttributesIfAny());
    }
    if (ChildCount() == 0) {
        if (Name.empty())
            return;
        if (Content.empty()) {
            out += "/>";
        } else {
            out += '>';
            out += Content;
            out += "</";
            out += fullName;
            out += '>';
        }
        out += LineEnd;
        return;
    }
    if (!Name.empty()) {
        out += '>';
        out += LineEnd;
    }
    const TSimpleXML* doc = OwnerDoc();
    const std::string childIndent = indent + (doc ? doc->IndentString() : std::string("  "));
    for (int i = 0; i < ChildList->Count(); ++i)
        ChildList->At(i)->WriteTo(out, childIndent);
    if (!Name.empty()) {
        out += indent;
        out += "</";
        out += fullName;
        out += '>';
        out += LineEnd;
    }
}

// ---------------------------------------------------------------------------
// Text, comment, CDATA

std::unique_ptr<TSimpleXMLElem> TSimpleXMLElemText::CreateSameKind(TSimpleXMLElem* parent) const {
    return std::make_unique<TSimpleXMLElemText>(parent);
}

void TSimpleXMLElemText::ReadFrom(TSimpleXMLReader& reader) {
    const size_t start = reader.Position();
    while (!reader.AtEnd() && reader.Peek() != '<')
        reader.Skip();
    Content = std::string(reader.Slice(start, reader.Position()));
}

void TSimpleXMLElemText::WriteTo(std::string& out, const std::string& indent) const {
    if (Content.empty())
        return;
    out += indent;
    out += Content;
    out += LineEnd;
}

std::unique_ptr<TSimpleXMLElem>
TSimpleXMLElemComment::CreateSameKind(TSimpleXMLElem* parent) const {
    return std::make_unique<TSimpleXMLElemComment>(parent);
}

void TSimpleXMLElemComment::ReadFrom(TSimpleXMLReader& reader) {
    static constexpr const char* EndOfData = "Invalid Comment: Unexpected end of data";
    reader.Expect("<!--", "Invalid Comment: ", EndOfData);
    std::string text;
    for (;;) {
        if (reader.AtEnd())
            TSimpleXMLReader::Fail(EndOfData);
        const char c = reader.Next();
        if (c != '-' || reader.AtEnd() || reader.Peek() != '-') {
            text += c;
            continue;
        }
        reader.Skip();
        if (reader.AtEnd())
            TSimpleXMLReader::Fail(EndOfData);
        const char after = reader.Next();
        if (after == '>')
            break;
        // "--x>" is let through as text; any other "--" is refused.
        if (reader.AtEnd() || reader.Peek() != '>')
            TSimpleXMLReader::Fail("Invalid Comment: \"--\" not allowed inside comments");
        text += "--";
        text += after;
    }
    Content = std::move(text);
}

void TSimpleXMLElemComment::WriteTo(std::string& out, const std::string& indent) const {
    out += indent;
    out += "<!--";
    out += Content;
    out += "-->";
    out += LineEnd;
}

std::unique_ptr<TSimpleXMLElem> TSimpleXMLElemCData::CreateSameKind(TSimpleXMLElem* parent) const {
    return std::make_unique<TSimpleXMLElemCData>(parent);
}

void TSimpleXMLElemCData::ReadFrom(TSimpleXMLReader& reader) {
    static constexpr const char* EndOfData = "Invalid CDATA: Unexpected end of data";
    reader.Expect("<![CDATA[", "Invalid CDATA: ", EndOfData);
    const size_t start = reader.Position();
    for (;;) {
        if (reader.AtEnd())
            TSimpleXMLReader::Fail(EndOfData);
        if (reader.Next() == ']') {
            const size_t pos = reader.Position();
            if (reader.Slice(pos, pos + 2) == "]>") {
                Content = std::string(reader.Slice(start, pos - 1));
                reader.Seek(pos + 2);
                return;
            }
        }
    }
}

void TSimpleXMLElemCData::WriteTo(std::string& out, const std::string& indent) const {
    out += indent;
    out += "<![CDATA[";
    out += Content;
    out += "]]>";
    out += LineEnd;
}

// ---------------------------------------------------------------------------
// Prolog nodes

TSimpleXMLElemHeader::TSimpleXMLElemHeader(TSimpleXMLElem* parent) : TSimpleXMLElem(parent) {
    Name = "xml";
}

std::unique_ptr<TSimpleXMLElem> TSimpleXMLElemHeader::CreateSameKind(TSimpleXMLElem* parent) const {
    return std::make_unique<TSimpleXMLElemHeader>(parent);
}

void TSimpleXMLElemHeader::CopyFrom(const TSimpleXMLElem* source) {
    TSimpleXMLElem::CopyFrom(source);
    if (const auto* header = dynamic_cast<const TSimpleXMLElemHeader*>(source)) {
        Version = header->Version;
        Encoding = header->Encoding;
        StandAlone = header->StandAlone;
    }
}

void TSimpleXMLElemHeader::ReadFrom(TSimpleXMLReader& reader) {
    static constexpr const char* EndOfData = "Invalid Comment: Unexpected end of data";
    static constexpr const char* Mismatch = "Invalid Header: ";
    reader.Expect("<?xml", Mismatch, EndOfData);
    TSimpleXMLProps props;
    reader.ReadProperties(props);
    reader.Expect("?>", Mismatch, EndOfData);
    // The header prints again what it was read with: a file without an
    // encoding label keeps having none.
    Version = props.TextOf("version", "1.0");
    Encoding = props.TextOf("encoding", "");
    StandAlone = props.TextOf("standalone", "") == "yes";
}

void TSimpleXMLElemHeader::WriteTo(std::string& out, const std::string& indent) const {
    out += indent;
    out += "<?xml version=\"";
    out += Version;
    out += '"';
    if (!Encoding.empty()) {
        out += " encoding=\"";
        out += Encoding;
        out += '"';
    }
    if (StandAlone)
        out += " standalone=\"yes\"";
    out += "?>";
    out += LineEnd;
}

std::unique_ptr<TSimpleXMLElem>
TSimpleXMLElemDocType::CreateSameKind(TSimpleXMLElem* parent) const {
    return std::make_unique<TSimpleXMLElemDocType>(parent);
}

void TSimpleXMLElemDocType::ReadFrom(TSimpleXMLReader& reader) {
    static constexpr const char* EndOfData = "Invalid Comment: Unexpected end of data";
    reader.Expect("<!DOCTYPE", "Invalid Header: ", EndOfData);
    const size_t start = reader.Position();
    bool inBrackets = false;
    for (;;) {
        if (reader.AtEnd())
            TSimpleXMLReader::Fail(EndOfData);
        const char c = reader.Next();
        if (inBrackets) {
            inBrackets = c != ']';
        } else if (c == '[') {
            inBrackets = true;
        } else if (c == '>') {
            Content = Trimmed(reader.Slice(start, reader.Position() - 1));
            return;
        }
    }
}

void TSimpleXMLElemDocType::WriteTo(std::string& out, const std::string&) const {
    out += "<!DOCTYPE ";
    out += Content;
    out += '>';
    out += LineEnd;
}

std::unique_ptr<TSimpleXMLElem> TSimpleXMLElemSheet::CreateSameKind(TSimpleXMLElem* parent) const {
    return std::make_unique<TSimpleXMLElemSheet>(parent);
}

void TSimpleXMLElemSheet::ReadFrom(TSimpleXMLReader& reader) {
    static constexpr const char* EndOfData = "Invalid Stylesheet: Unexpected end of data";
    static constexpr const char* Mismatch = "Invalid Stylesheet: ";
    reader.Expect("<?xml-stylesheet", Mismatch, EndOfData);
    reader.ReadProperties(Attributes());
    reader.Expect("?>", Mismatch, EndOfData);
}

void TSimpleXMLElemSheet::WriteTo(std::string& out, const std::string& indent) const {
    out += indent;
    out += "<?xml-stylesheet";
    AppendAttributes(out, AttributesIfAny());
    out += "?>";
    out += LineEnd;
}

// ---------------------------------------------------------------------------
// Prolog list

TSimpleXMLElem* TSimpleXMLElemsProlog::At(int i) const {
    return i >= 0 && i < Count() ? Items[size_t(i)].get() : nullptr;
}

TSimpleXMLElem& TSimpleXMLElemsProlog::Append(std::unique_ptr<TSimpleXMLElem> node) {
    node->Parent = nullptr;
    node->Document = Owner;
    Items.push_back(std::move(node));
    return *Items.back();
}

TSimpleXMLElemHeader* TSimpleXMLElemsProlog::Header() const {
    for (const auto& item : Items)
        if (auto* header = dynamic_cast<TSimpleXMLElemHeader*>(item.get()))
            return header;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Document

TSimpleXML::TSimpleXML() : Root(std::make_unique<TSimpleXMLElemClassic>()) {
    Root->Document = this;
    Prolog.Owner = this;
}

TSimpleXML::~TSimpleXML() = default;

void TSimpleXML::SetIndentString(const std::string& indent) {
    if (indent.find_first_not_of(" \t") == std::string::npos)
        Indent = indent;
}

void TSimpleXML::ReadText(std::string_view text) {
    Root->ClearContent();
    Root->Content.clear();
    Prolog.Clear();
    InputEndedInsideElement = false;
    RootElementRead = false;

    TSimpleXMLReader reader(text);
    for (;;) {
        while (!reader.AtEnd()) {
            const auto byte = static_cast<unsigned char>(reader.Peek());
            // Byte order marks of any flavour pass as whitespace here.
            if (byte == 0 || byte == 9 || byte == 10 || byte == 13 || byte == 32 || byte == 0xBB ||
                byte == 0xBF || byte == 0xEF || byte == 0xFE || byte == 0xFF)
                reader.Skip();
            else
                break;
        }
        if (reader.AtEnd())
            return;
        if (reader.Peek() != '<')
            TSimpleXMLReader::Fail("Invalid Document: Unexpected text in file prolog");

        const size_t tagStart = reader.Position();
        std::string collected;
        std::unique_ptr<TSimpleXMLElem> item;
        bool rootFollows = false;
        while (!reader.AtEnd() && !item && !rootFollows) {
            collected += reader.Next();
            if (collected == "<?xml ")
                item = std::make_unique<TSimpleXMLElemHeader>();
            else if (collected == "<!--")
                item = std::make_unique<TSimpleXMLElemComment>();
            else if (collected == "<?xml-stylesheet")
                item = std::make_unique<TSimpleXMLElemSheet>();
            else if (collected == "<!DOCTYPE")
                item = std::make_unique<TSimpleXMLElemDocType>();
            else if (collected == "<![CDATA[" ||
                     (collected.size() >= 2 && collected[1] != '!' && collected[1] != '?'))
                rootFollows = true;
        }
        // Other prolog markup is not supported: it swallows the rest of the
        // input and the document is left without a root element.
        if (!item && !rootFollows)
            return;
        reader.Seek(tagStart);
        if (rootFollows) {
            RootElementRead = true;
            Root->ReadFrom(reader);
            InputEndedInsideElement = reader.SawUnclosedElement();
            return;
        }
        Prolog.Append(std::move(item)).ReadFrom(reader);
    }
}

void TSimpleXML::ReadFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw EFileError("Cannot open file \"" + path + "\". " + LastErrorText());
    std::string data;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        data.append(buffer, got);
    // A directory opens but cannot be read; that is a file error, not an
    // empty document.
    const bool failed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (failed) {
        errno = readErrno;
        throw EFileError("Cannot open file \"" + path + "\". " + LastErrorText());
    }
    ReadText(data);
}

std::string TSimpleXML::WriteText() {
    if (!Prolog.Header())
        Prolog.Append(std::make_unique<TSimpleXMLElemHeader>());
    std::string out;
    for (int i = 0; i < Prolog.Count(); ++i)
        Prolog.At(i)->WriteTo(out, "");
    Root->WriteTo(out, "");
    return out;
}

void TSimpleXML::WriteFile(const std::string& path) {
    const std::string text = WriteText();
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw EFileError((exists ? "Cannot open file \"" : "Cannot create file \"") + path +
                         "\". " + LastErrorText());
    // A short write (a full disk) must not pass as a saved file.
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        if (!written)
            errno = writeErrno;
        throw EFileError("Cannot write file \"" + path + "\". " + LastErrorText());
    }
}
