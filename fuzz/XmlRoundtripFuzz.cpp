// Round trip of the XML tree: parse arbitrary bytes, print, parse the print.
//
// Property, for every input whose first parse succeeds (T1, printed as P1):
//   1. P1 parses again without error (T2).
//   2. T2 has the same prolog and element tree as T1: node kinds, names,
//      prefixes, attributes in order, values and comment/CDATA/doctype texts
//      are byte-equal; text nodes (mixed content) compare with surrounding
//      whitespace trimmed.
//   3. When T1 holds no text node, printing T2 gives P1 byte for byte.
// The tree escapes nothing, so the property needs these conditions on T1:
//   - no attribute value (of an element, a stylesheet or the header's version
//     and encoding) contains a double quote: the printer always quotes with
//     double quotes, and a value read between apostrophes may hold one;
//   - no attribute has an empty full name: "a::=" reads as an attribute whose
//     prefix and name are both empty, and a bare "=" is refused on reading;
//   - every element has a name, except a root that holds nothing at all (not
//     even a prefix, as "<p:>" leaves): a
//     nameless element prints only its children, which then move up a level;
//   - the root's full name does not start with "?" or "!": the reparse would
//     take the root's tag for prolog markup (a prefix can bring such a name
//     about, as in "<a:?x:b>", whose full name is "?x:b");
//   - no element's full name starts with "!--" or "![CDATA[": printed inside
//     content it would open a comment or a CDATA section ("<r><:!--" reads a
//     child named "!--").
// The condition 3 exception is inherent, not a fault: a text node prints on a
// line of its own with indent, and the parser keeps the whitespace in front of
// a text node as part of it, so such text grows by the indent on every round.
// No other condition is needed: "<" and "&" cannot occur in values read from
// text, and in names and attribute values they do not disturb the reparse.

#include "xml/SimpleXML.h"

#include <cstdio>
#include <cstdlib>
#include <typeinfo>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "round trip broken: %s\n", what);
    std::abort();
}

bool HasQuote(const std::string& text) {
    return text.find('"') != std::string::npos;
}

bool AttributesPrintable(const TSimpleXMLElem& node) {
    if (const TSimpleXMLProps* props = node.AttributesIfAny())
        for (int i = 0; i < props->Count(); ++i)
            if (HasQuote(props->At(i)->Value) || props->At(i)->FullName().empty())
                return false;
    return true;
}

// Checks the conditions above; notes whether any text node occurs.
bool Printable(const TSimpleXMLElem& node, bool isRoot, bool& hasText) {
    if (dynamic_cast<const TSimpleXMLElemText*>(&node)) {
        hasText = true;
        return true;
    }
    if (!dynamic_cast<const TSimpleXMLElemClassic*>(&node))
        return true;
    const bool holdsNothing = node.ChildCount() == 0 && node.Content.empty() &&
                              node.TagPrefix.empty() &&
                              (!node.AttributesIfAny() || node.AttributesIfAny()->Count() == 0);
    if (node.TagName().empty() && !(isRoot && holdsNothing))
        return false;
    const std::string fullName = node.FullName();
    if (fullName.starts_with("!--") || fullName.starts_with("![CDATA["))
        return false;
    if (!AttributesPrintable(node))
        return false;
    for (int i = 0; i < node.ChildCount(); ++i)
        if (!Printable(*node.ChildrenIfAny()->At(i), false, hasText))
            return false;
    return true;
}

std::string Trim(const std::string& text) {
    const char* blanks = "\t\n\r ";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void CompareNodes(const TSimpleXMLElem& a, const TSimpleXMLElem& b) {
    if (typeid(a) != typeid(b))
        Fail("node kind differs");
    if (a.TagName() != b.TagName() || a.TagPrefix != b.TagPrefix)
        Fail("name differs");
    const bool isText = dynamic_cast<const TSimpleXMLElemText*>(&a) != nullptr;
    if (isText ? Trim(a.Content) != Trim(b.Content) : a.Content != b.Content)
        Fail("content differs");
    if (const auto* ha = dynamic_cast<const TSimpleXMLElemHeader*>(&a)) {
        const auto& hb = dynamic_cast<const TSimpleXMLElemHeader&>(b);
        if (ha->Version != hb.Version || ha->Encoding != hb.Encoding ||
            ha->StandAlone != hb.StandAlone)
            Fail("header differs");
    }
    const int propsA = a.AttributesIfAny() ? a.AttributesIfAny()->Count() : 0;
    const int propsB = b.AttributesIfAny() ? b.AttributesIfAny()->Count() : 0;
    if (propsA != propsB)
        Fail("attribute count differs");
    for (int i = 0; i < propsA; ++i) {
        const TSimpleXMLProp* pa = a.AttributesIfAny()->At(i);
        const TSimpleXMLProp* pb = b.AttributesIfAny()->At(i);
        if (pa->Name != pb->Name || pa->Prefix != pb->Prefix || pa->Value != pb->Value)
            Fail("attribute differs");
    }
    if (a.ChildCount() != b.ChildCount())
        Fail("child count differs");
    for (int i = 0; i < a.ChildCount(); ++i)
        CompareNodes(*a.ChildrenIfAny()->At(i), *b.ChildrenIfAny()->At(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TSimpleXML first;
    try {
        first.ReadText(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const ESimpleXMLError&) {
        return 0;
    }
    const std::string printed = first.WriteText();

    bool hasText = false;
    if (!Printable(*first.RootElem(), true, hasText))
        return 0;
    const std::string rootName = first.RootElem()->FullName();
    if (!rootName.empty() && (rootName[0] == '?' || rootName[0] == '!'))
        return 0;
    for (int i = 0; i < first.PrologItems().Count(); ++i) {
        const TSimpleXMLElem* item = first.PrologItems().At(i);
        if (!AttributesPrintable(*item))
            return 0;
        if (const auto* header = dynamic_cast<const TSimpleXMLElemHeader*>(item))
            if (HasQuote(header->Version) || HasQuote(header->Encoding))
                return 0;
    }

    TSimpleXML second;
    try {
        second.ReadText(printed);
    } catch (const ESimpleXMLError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Fail("the printed document does not parse");
    }
    const std::string reprinted = second.WriteText();

    if (first.PrologItems().Count() != second.PrologItems().Count())
        Fail("prolog length differs");
    for (int i = 0; i < first.PrologItems().Count(); ++i)
        CompareNodes(*first.PrologItems().At(i), *second.PrologItems().At(i));
    CompareNodes(*first.RootElem(), *second.RootElem());
    if (!hasText && reprinted != printed)
        Fail("second print differs from the first");
    return 0;
}
