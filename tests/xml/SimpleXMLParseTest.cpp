// Reading text: the prolog, elements, content, attributes and every error.

#include "xml/SimpleXML.h"
#include "xml/SimpleXMLReader.h"

#include <gtest/gtest.h>

namespace {

const std::string Header = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";

std::string ErrorOf(std::string_view text) {
    TSimpleXML doc;
    try {
        doc.ReadText(text);
    } catch (const ESimpleXMLError& e) {
        return e.what();
    }
    return "(no error)";
}

template <typename TNode> std::string NodeErrorOf(std::string_view text) {
    TNode node;
    TSimpleXMLReader reader(text);
    try {
        node.ReadFrom(reader);
    } catch (const ESimpleXMLError& e) {
        return e.what();
    }
    return "(no error)";
}

std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

TEST(SimpleXMLParse, ValuesOfSingleElements) {
    const struct {
        const char* Text;
        const char* Content;
        int64_t Int;
    } cases[] = {
        {"<wait>100</wait>", "100", 100},  {"<wait> 100</wait>", " 100", 100},
        {"<wait>100 </wait>", "100 ", -1}, {"<wait>   </wait>", "   ", -1},
        {"<wait>\r\n</wait>", "\r\n", -1}, {"<wait/>", "", -1},
        {"<wait></wait>", "", -1},         {"<wait>a>b'\"&amp;</wait>", "a>b'\"&amp;", -1},
    };
    for (const auto& c : cases) {
        TSimpleXML doc;
        doc.ReadText(std::string("<r>") + c.Text + "</r>");
        EXPECT_EQ(doc.RootElem()->Children().TextOf("wait", "?"), c.Content) << c.Text;
        EXPECT_EQ(doc.RootElem()->Children().IntOf("wait", 99), c.Int) << c.Text;
        EXPECT_EQ(doc.RootElem()->Children().At(0)->ChildCount(), 0) << c.Text;
    }
}

TEST(SimpleXMLParse, EmptyElementPrintsAndReadsBack) {
    TSimpleXML doc;
    doc.RootElem()->Rename("label");
    const std::string printed = doc.WriteText();
    EXPECT_EQ(printed, Header + "<label/>\r\n");
    TSimpleXML again;
    again.ReadText(printed);
    EXPECT_EQ(again.RootElem()->TagName(), "label");
    EXPECT_EQ(again.RootElem()->Content, "");
    EXPECT_EQ(again.WriteText(), printed);
}

TEST(SimpleXMLParse, EndTagsIgnoreLetterCase) {
    TSimpleXML doc;
    doc.ReadText("<R><Mode>1</MODE><p:x>2</P:X></r>");
    EXPECT_EQ(doc.RootElem()->Children().IntOf("mode", -1), 1);
    TSimpleXMLElemClassic* prefixed = doc.RootElem()->Children().FindNamed("x");
    ASSERT_NE(prefixed, nullptr);
    EXPECT_EQ(prefixed->TagPrefix, "p");
    EXPECT_EQ(prefixed->FullName(), "p:x");
}

TEST(SimpleXMLParse, RecordOnOneLineReprintsInOwnLayout) {
    TSimpleXML doc;
    doc.ReadText("<CtrlNode type='1'><mode>0</mode>  <wait>0</wait></CtrlNode>");
    EXPECT_EQ(doc.WriteText(), Header + "<CtrlNode type=\"1\">\r\n  <mode>0</mode>\r\n"
                                        "  <wait>0</wait>\r\n</CtrlNode>\r\n");
}

TEST(SimpleXMLParse, Attributes) {
    TSimpleXML doc;
    doc.ReadText("<a x='1' y=\"2\" 1x=\"3\" -_z = 'q\"<>&' p:n=\"5\"y=\"6\"/>");
    const TSimpleXMLProps& props = doc.RootElem()->Attributes();
    ASSERT_EQ(props.Count(), 6);
    EXPECT_EQ(props.At(0)->Value, "1");
    EXPECT_EQ(props.At(2)->Name, "1x");
    EXPECT_EQ(props.At(3)->Name, "-_z");
    EXPECT_EQ(props.At(3)->Value, "q\"<>&");
    EXPECT_EQ(props.At(4)->Prefix, "p");
    EXPECT_EQ(props.At(4)->Name, "n");
    EXPECT_EQ(props.IntOf("y", -1), 6);
}

TEST(SimpleXMLParse, ContentWithMixedNodes) {
    TSimpleXML doc;
    doc.ReadText("<a>\r\n  text\r\n  <b/><!-- c --><![CDATA[<x>]]> tail</a>");
    const TSimpleXMLElems& kids = doc.RootElem()->Children();
    ASSERT_EQ(kids.Count(), 5);
    // A text node keeps the whitespace in front of it.
    EXPECT_NE(dynamic_cast<TSimpleXMLElemText*>(kids.At(0)), nullptr);
    EXPECT_EQ(kids.At(0)->Content, "\r\n  text\r\n  ");
    EXPECT_EQ(kids.At(2)->Content, " c ");
    EXPECT_EQ(kids.At(3)->Content, "<x>");
    EXPECT_EQ(kids.At(4)->Content, " tail");
    EXPECT_EQ(doc.RootElem()->Content, "");
}

TEST(SimpleXMLParse, PrologAndWhatFollowsTheRoot) {
    TSimpleXML doc;
    doc.ReadText("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<!-- saved -->\r\n"
                 "<!DOCTYPE r [ <!ELEMENT r ANY> ] >\r\n<?xml-stylesheet href=\"s.css\"?>\r\n"
                 "<r>1</r>\r\n<more/>trailing text");
    ASSERT_EQ(doc.PrologItems().Count(), 4);
    EXPECT_EQ(doc.PrologItems().Header()->Encoding, "GBK");
    EXPECT_EQ(doc.PrologItems().At(1)->Content, " saved ");
    EXPECT_EQ(doc.PrologItems().At(2)->Content, "r [ <!ELEMENT r ANY> ]");
    EXPECT_EQ(doc.RootElem()->Content, "1");

    // The prolog survives the program rebuilding the root.
    doc.RootElem()->ClearContent();
    doc.RootElem()->Rename("VAZIREZA");
    doc.RootElem()->Content.clear();
    EXPECT_EQ(doc.WriteText(), "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<!-- saved -->\r\n"
                               "<!DOCTYPE r [ <!ELEMENT r ANY> ]>\r\n"
                               "<?xml-stylesheet href=\"s.css\"?>\r\n<VAZIREZA/>\r\n");
}

TEST(SimpleXMLParse, HeaderFields) {
    const struct {
        const char* Text;
        const char* Printed;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>",
         "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"},
        {"<?xml version='1.1' standalone='yes' other='x'?>",
         "<?xml version=\"1.1\" standalone=\"yes\"?>"},
        {"<?xml encoding=\"GBK\" standalone=\"no\"?>", "<?xml version=\"1.0\" encoding=\"GBK\"?>"},
    };
    for (const auto& c : cases) {
        TSimpleXML doc;
        doc.ReadText(std::string(c.Text) + "<r/>");
        EXPECT_EQ(doc.WriteText(), std::string(c.Printed) + "\r\n<r/>\r\n") << c.Text;
    }
}

TEST(SimpleXMLParse, ReadClearsTheOldTreeButTheRootKeepsItsName) {
    TSimpleXML doc;
    doc.ReadText("<!--x--><CtrlNode type=\"1\"><mode>0</mode></CtrlNode>");
    doc.ReadText(Header + "\r\n");
    EXPECT_EQ(doc.RootElem()->TagName(), "CtrlNode");
    EXPECT_EQ(doc.RootElem()->ChildCount(), 0);
    EXPECT_EQ(doc.RootElem()->Attributes().Count(), 0);
    EXPECT_EQ(doc.PrologItems().Count(), 1);

    doc.ReadText("<v>text</v>");
    doc.ReadText("");
    EXPECT_EQ(doc.RootElem()->Content, "");
    EXPECT_EQ(doc.PrologItems().Count(), 0);
}

TEST(SimpleXMLParse, InputEndingInsideAnElementKeepsWhatWasRead) {
    const struct {
        const char* Text;
        const char* Printed;
    } cases[] = {
        {"<r><a>1</a><b x=\"2\"", "<r>\r\n  <a>1</a>\r\n  <b x=\"2\"/>\r\n</r>\r\n"},
        {"<r><a>1</a>", "<r>\r\n  <a>1</a>\r\n</r>\r\n"},
        {"<r>tail", "<r>tail</r>\r\n"},
        {"<r x=\"unterminated", "<r/>\r\n"},
        {"<r></r", "<r/>\r\n"},
        {"<r/", "<r/>\r\n"},
    };
    for (const auto& c : cases) {
        TSimpleXML doc;
        EXPECT_NO_THROW(doc.ReadText(c.Text)) << c.Text;
        EXPECT_EQ(doc.WriteText(), Header + c.Printed) << c.Text;
        // Nothing is raised, but the document knows.
        EXPECT_TRUE(doc.InputEndedInside()) << c.Text;
        EXPECT_TRUE(doc.HadRootElement()) << c.Text;
    }
    // Whole documents, and what the next read makes of the marks.
    TSimpleXML doc;
    for (const char* whole : {"<r/>", "<r><a>1</a><b/></r>\r\n", "<r>text</r><!--after-->"}) {
        doc.ReadText("<r><a>");
        doc.ReadText(whole);
        EXPECT_FALSE(doc.InputEndedInside()) << whole;
        EXPECT_TRUE(doc.HadRootElement()) << whole;
    }
    for (const char* noRoot : {"", "\r\n", "<?xml version=\"1.0\"?>", "<!--only a comment-->"}) {
        doc.ReadText(noRoot);
        EXPECT_FALSE(doc.HadRootElement()) << noRoot;
        EXPECT_FALSE(doc.InputEndedInside()) << noRoot;
    }
}

TEST(SimpleXMLParse, ErrorsOfReadText) {
    const struct {
        std::string Text;
        const char* Message;
    } cases[] = {
        {"x<a/>", "Invalid Document: Unexpected text in file prolog"},
        {"< a/>", "Invalid XML Element: malformed tag found (no valid name)"},
        {"<r><p: x='1'/></r>", "Invalid XML Element: malformed tag found (no valid name)"},
        {"<a/x>", "Invalid XML Element: Expected end of tag but \"x\" found"},
        {"<a><b></c></a>",
         "Invalid XML Element: Erroneous end of tag, expecting </b> but </c> found"},
        {"<p:a></p:b>",
         "Invalid XML Element: Erroneous end of tag, expecting </a> but </p:b> found"},
        {"<a></a >", "Invalid XML Element: Erroneous end of tag, expecting </a> but </a > found"},
        {"<a x.y=\"1\"/>",
         "Invalid XML Element: Unexpected character in property declaration (\".\" found)"},
        {"<a x y=\"1\"/>",
         "Invalid XML Element: Unexpected character in property declaration (\"y\" found)"},
        {"<a :x=\"1\"/>",
         "Invalid XML Element: Unexpected character in property declaration (\":\" found)"},
        {"<a x=1/>",
         "Invalid XML Element: Unexpected character in property declaration. Expecting \" "
         "or ' but \"1\"  found"},
        {"<?xml version=\"1.0\"/><a/>", "Invalid Header: expected \"?\" but found \"/\""},
        {"<?xml version=\"1.0\"?x<a/>", "Invalid Header: expected \">\" but found \"x\""},
        {"<?xml version=\"1.0\"", "Invalid Comment: Unexpected end of data"},
        {"<!-- a -- b --><a/>", "Invalid Comment: \"--\" not allowed inside comments"},
        {"<a><!-- a --", "Invalid Comment: Unexpected end of data"},
        {"<!-- a", "Invalid Comment: Unexpected end of data"},
        {"<!DOCTYPE a [ > <a/>", "Invalid Comment: Unexpected end of data"},
        {"<a><![CDATA[x]]</a>", "Invalid CDATA: Unexpected end of data"},
        {"<a><![CDATA [x]]></a>", "Invalid CDATA: expected \"[\" but found \" \""},
        {"<?xml-stylesheet href=\"a\"/><a/>", "Invalid Stylesheet: expected \"?\" but found \"/\""},
        {"<?xml-stylesheet href=\"a\"", "Invalid Stylesheet: Unexpected end of data"},
        {Nested(257), "Invalid XML Element: nesting deeper than 256 levels"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf(c.Text), c.Message) << c.Text;
}

TEST(SimpleXMLParse, ErrorsOfNodeOpenings) {
    EXPECT_EQ(NodeErrorOf<TSimpleXMLElemClassic>("a/>"),
              "Invalid XML Element: Expected beginning of tag but \"a\" found");
    EXPECT_EQ(NodeErrorOf<TSimpleXMLElemComment>("<!-x"),
              "Invalid Comment: expected \"-\" but found \"x\"");
    EXPECT_EQ(NodeErrorOf<TSimpleXMLElemCData>("<![CDAT"), "Invalid CDATA: Unexpected end of data");
    EXPECT_EQ(NodeErrorOf<TSimpleXMLElemDocType>("<!DOCTYPX"),
              "Invalid Header: expected \"E\" but found \"X\"");
    EXPECT_EQ(NodeErrorOf<TSimpleXMLElemHeader>("<?xmm"),
              "Invalid Header: expected \"l\" but found \"m\"");
    EXPECT_EQ(NodeErrorOf<TSimpleXMLElemSheet>("<?xml-stylesheeT"),
              "Invalid Stylesheet: expected \"t\" but found \"T\"");
}

TEST(SimpleXMLParse, CommentHyphens) {
    const struct {
        const char* Text;
        const char* Content;
    } cases[] = {{"<!---->", ""}, {"<!-- a-b -->", " a-b "}, {"<!--a--x>b-->", "a--x>b"}};
    for (const auto& c : cases) {
        TSimpleXML doc;
        doc.ReadText(std::string(c.Text) + "<r/>");
        ASSERT_EQ(doc.PrologItems().Count(), 1) << c.Text;
        EXPECT_EQ(doc.PrologItems().At(0)->Content, c.Content) << c.Text;
    }
}

TEST(SimpleXMLParse, NestingLimit) {
    TSimpleXML doc;
    EXPECT_NO_THROW(doc.ReadText(Nested(TSimpleXML::MaxNestingDepth)));
    // Far past the limit the parser must refuse rather than run out of stack.
    std::string hostile;
    for (int i = 0; i < 300000; ++i)
        hostile += "<a>";
    EXPECT_EQ(ErrorOf(hostile), "Invalid XML Element: nesting deeper than 256 levels");
}

TEST(SimpleXMLParse, ErrorLeavesWhatWasReadSoFar) {
    TSimpleXML doc;
    EXPECT_THROW(doc.ReadText("<r><a>1</a><b x=1/></r>"), ESimpleXMLError);
    EXPECT_EQ(doc.RootElem()->Children().IntOf("a", -1), 1);
    EXPECT_EQ(doc.RootElem()->ChildCount(), 2);
}

} // namespace
