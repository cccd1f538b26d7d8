// Building and printing trees, lookups, Rename, ClearContent and CopyFrom.

#include "xml/SimpleXML.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const std::string Header = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";

std::string ReadData(const std::string& name) {
    std::ifstream in(std::string(DD_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void BuildRecord(TSimpleXMLElemClassic& elem, int64_t type,
                 std::initializer_list<std::pair<const char*, int64_t>> fields) {
    elem.Rename("CtrlNode");
    elem.Attributes().AddInt("type", type);
    for (const auto& [name, value] : fields)
        elem.Children().AddInt(name, value);
}

TEST(SimpleXMLPrint, FiveLineRecord) {
    TSimpleXML doc;
    BuildRecord(*doc.RootElem(), 1, {{"mode", 0}, {"wait", 0}});
    EXPECT_EQ(doc.WriteText(), Header + "<CtrlNode type=\"1\">\r\n"
                                        "  <mode>0</mode>\r\n"
                                        "  <wait>0</wait>\r\n"
                                        "</CtrlNode>\r\n");
}

TEST(SimpleXMLPrint, FourteenLineFileBuiltThroughCopies) {
    TSimpleXML scratch, file;
    file.RootElem()->Rename("VAZIREZA");
    const auto addRecord = [&](int64_t type,
                               std::initializer_list<std::pair<const char*, int64_t>> fields) {
        scratch.RootElem()->ClearContent();
        BuildRecord(*scratch.RootElem(), type, fields);
        scratch.ReadText(scratch.WriteText());
        TSimpleXMLElemClassic& record = file.RootElem()->Children().AddNamed("record");
        record.Children().AddNamed("x").CopyFrom(scratch.RootElem());
    };
    addRecord(1, {{"mode", 0}, {"wait", 0}});
    addRecord(5, {{"wait", 100}});
    // The copies must not depend on the scratch document any more.
    scratch.ReadText("<other/>");
    EXPECT_EQ(file.WriteText(), ReadData("two_blocks.rer"));
}

TEST(SimpleXMLPrint, ElementForms) {
    struct TCase {
        const char* What;
        void (*Build)(TSimpleXMLElemClassic&);
        std::string Expected;
    };
    const TCase cases[] = {
        {"empty root", [](TSimpleXMLElemClassic& r) { r.Rename("VAZIREZA"); }, "<VAZIREZA/>\r\n"},
        {"attribute only",
         [](TSimpleXMLElemClassic& r) {
             r.Rename("CtrlNode");
             r.Attributes().AddInt("type", 14);
         },
         "<CtrlNode type=\"14\"/>\r\n"},
        {"value, nothing escaped",
         [](TSimpleXMLElemClassic& r) {
             r.Rename("sub");
             r.Content = "a<b&\"c'\xB1\xEA";
         },
         "<sub>a<b&\"c'\xB1\xEA</sub>\r\n"},
        {"value hidden by children",
         [](TSimpleXMLElemClassic& r) {
             r.Rename("a");
             r.Content = "lost";
             r.Children().AddNamed("label");
             r.Children().AddInt("n", -42);
             r.Children().AddBool("t", true);
             r.Children().AddBool("f", false);
         },
         "<a>\r\n  <label/>\r\n  <n>-42</n>\r\n  <t>-1</t>\r\n  <f>0</f>\r\n</a>\r\n"},
        {"nested indent and prefix",
         [](TSimpleXMLElemClassic& r) {
             r.Rename("a");
             r.TagPrefix = "p";
             auto& b = r.Children().AddNamed("b");
             b.Attributes().AddText("k", "v").Prefix = "q";
             b.Children().AddText("c", "1");
         },
         "<p:a>\r\n  <b q:k=\"v\">\r\n    <c>1</c>\r\n  </b>\r\n</p:a>\r\n"},
        {"nameless element shows only its children",
         [](TSimpleXMLElemClassic& r) {
             r.Rename("a");
             auto& nameless = r.Children().AddNamed("");
             nameless.Attributes().AddText("k", "v");
             nameless.Content = "x";
             r.Children().AddNamed("").Children().AddNamed("b");
         },
         "<a>\r\n    <b/>\r\n</a>\r\n"},
        {"other node kinds",
         [](TSimpleXMLElemClassic& r) {
             r.Rename("a");
             auto add = [&](std::unique_ptr<TSimpleXMLElem> node, const char* content) {
                 node->Content = content;
                 r.Children().Append(std::move(node));
             };
             add(std::make_unique<TSimpleXMLElemText>(), "text");
             add(std::make_unique<TSimpleXMLElemText>(), "");
             add(std::make_unique<TSimpleXMLElemComment>(), " c ");
             add(std::make_unique<TSimpleXMLElemCData>(), "<x>");
         },
         "<a>\r\n  text\r\n  <!-- c -->\r\n  <![CDATA[<x>]]>\r\n</a>\r\n"},
    };
    for (const TCase& c : cases) {
        TSimpleXML doc;
        c.Build(*doc.RootElem());
        EXPECT_EQ(doc.WriteText(), Header + c.Expected) << c.What;
    }
}

TEST(SimpleXMLPrint, PrologItemsAndHeaderForms) {
    TSimpleXML doc;
    doc.RootElem()->Rename("r");
    auto comment = std::make_unique<TSimpleXMLElemComment>();
    comment->Content = "first";
    doc.PrologItems().Append(std::move(comment));
    auto docType = std::make_unique<TSimpleXMLElemDocType>();
    docType->Content = "r SYSTEM \"r.dtd\"";
    doc.PrologItems().Append(std::move(docType));
    auto sheet = std::make_unique<TSimpleXMLElemSheet>();
    sheet->Attributes().AddText("href", "s.css");
    doc.PrologItems().Append(std::move(sheet));
    // Without a header one is added at the end of the prolog, once.
    const std::string expected = "<!--first-->\r\n<!DOCTYPE r SYSTEM \"r.dtd\">\r\n"
                                 "<?xml-stylesheet href=\"s.css\"?>\r\n" +
                                 Header + "<r/>\r\n";
    EXPECT_EQ(doc.WriteText(), expected);
    EXPECT_EQ(doc.WriteText(), expected);
    EXPECT_EQ(doc.PrologItems().Count(), 4);

    TSimpleXMLElemHeader* header = doc.PrologItems().Header();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->TagName(), "xml");
    header->Encoding = "";
    header->StandAlone = true;
    EXPECT_NE(doc.WriteText().find("<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<r/>\r\n"),
              std::string::npos);
}

TEST(SimpleXMLPrint, IndentStringAcceptsOnlyBlanksAndTabs) {
    TSimpleXML doc;
    doc.SetIndentString("x ");
    EXPECT_EQ(doc.IndentString(), "  ");
    doc.SetIndentString("\t");
    EXPECT_EQ(doc.IndentString(), "\t");
    doc.RootElem()->Rename("a");
    doc.RootElem()->Children().AddNamed("b").Children().AddNamed("c");
    EXPECT_EQ(doc.WriteText(), Header + "<a>\r\n\t<b>\r\n\t\t<c/>\r\n\t</b>\r\n</a>\r\n");
}

TEST(SimpleXMLLookup, NamesIgnoreCaseAndAnswerTheLastOfEquals) {
    TSimpleXML doc;
    TSimpleXMLElems& kids = doc.RootElem()->Children();
    kids.AddInt("mode", 1);
    kids.AddInt("MODE", 2);
    kids.AddText("wait", "100");
    EXPECT_EQ(kids.IntOf("Mode", -1), 2);
    EXPECT_EQ(kids.FindNamed("mode"), kids.At(1));
    EXPECT_EQ(kids.FindNamed("missing"), nullptr);
    EXPECT_EQ(kids.TextOf("missing", "dflt"), "dflt");
    EXPECT_EQ(kids.IntOf("missing", 7), 7);
    EXPECT_EQ(kids.At(-1), nullptr);
    EXPECT_EQ(kids.At(3), nullptr);

    // The index follows renames and deletions.
    kids.At(1)->Rename("other");
    EXPECT_EQ(kids.IntOf("mode", -1), 1);
    EXPECT_EQ(kids.IntOf("OTHER", -1), 2);
    kids.Delete(0);
    EXPECT_EQ(kids.FindNamed("mode"), nullptr);
    kids.Delete(5);
    EXPECT_EQ(kids.Count(), 2);

    TSimpleXMLProps& props = doc.RootElem()->Attributes();
    props.AddInt("type", 3);
    props.AddText("Type", "x");
    EXPECT_EQ(props.TextOf("TYPE", ""), "x");
    EXPECT_EQ(props.IntOf("type", 0), -1); // found, not an integer
    EXPECT_EQ(props.IntOf("none", 5), 5);
    EXPECT_EQ(props.At(2), nullptr);
}

TEST(SimpleXMLLookup, BoolOfReadsNumbersAndWords) {
    const struct {
        const char* Text;
        bool Expected;
    } cases[] = {{"-1", true},   {"0", false},   {"TRUE", true},  {"false", false},
                 {"yes", false}, {"0.0", false}, {"2.5e1", true}, {" 1 ", true},
                 {"1x", false},  {"1e", false},  {".5", true},    {"-0", false}};
    for (const auto& c : cases) {
        TSimpleXML doc;
        doc.RootElem()->Children().AddText("keycmd", c.Text);
        EXPECT_EQ(doc.RootElem()->Children().BoolOf("keycmd", !c.Expected), c.Expected) << c.Text;
    }
    TSimpleXML doc;
    doc.RootElem()->Children().AddText("keycmd", "");
    for (bool dflt : {true, false}) {
        EXPECT_EQ(doc.RootElem()->Children().BoolOf("keycmd", dflt), dflt);
        EXPECT_EQ(doc.RootElem()->Children().BoolOf("missing", dflt), dflt);
    }
}

TEST(SimpleXMLTree, RenameIgnoresEmptyAndUnchangedNames) {
    TSimpleXML doc;
    TSimpleXMLElemClassic* root = doc.RootElem();
    root->Rename("a");
    root->Rename("");
    EXPECT_EQ(root->TagName(), "a");
    EXPECT_EQ(root->OwnerDoc(), &doc);
    TSimpleXMLElemClassic& child = root->Children().AddNamed("b");
    EXPECT_EQ(child.ParentElem(), root);
    EXPECT_EQ(child.Children().AddNamed("c").OwnerDoc(), &doc);
}

TEST(SimpleXMLTree, ClearContentKeepsNameAndValue) {
    TSimpleXML doc;
    TSimpleXMLElemClassic* root = doc.RootElem();
    root->Rename("a");
    root->Content = "v";
    root->Attributes().AddText("k", "1");
    root->Children().AddNamed("b");
    root->ClearContent();
    EXPECT_EQ(root->TagName(), "a");
    EXPECT_EQ(root->Content, "v");
    EXPECT_EQ(root->ChildCount(), 0);
    EXPECT_EQ(root->Attributes().Count(), 0);
}

TEST(SimpleXMLTree, CopyFromReplacesEverythingWithADeepCopy) {
    TSimpleXML source, target;
    source.ReadText("<q:src k=\"1\"><a>1</a><!--c--><b><c>2</c></b></q:src>");
    target.ReadText("<dst x=\"9\" y=\"8\"><old/><old/><old/><old/></dst>");
    target.RootElem()->CopyFrom(source.RootElem());
    source.ReadText("<gone/>");

    TSimpleXMLElemClassic* root = target.RootElem();
    EXPECT_EQ(root->TagName(), "src");
    EXPECT_EQ(root->TagPrefix, ""); // prefixes are not copied
    ASSERT_EQ(root->Attributes().Count(), 1);
    EXPECT_EQ(root->Attributes().TextOf("k", ""), "1");
    ASSERT_EQ(root->ChildCount(), 3);
    EXPECT_NE(dynamic_cast<TSimpleXMLElemComment*>(root->Children().At(1)), nullptr);
    EXPECT_EQ(root->Children().At(2)->ParentElem(), root);
    EXPECT_EQ(target.WriteText(), Header + "<src k=\"1\">\r\n  <a>1</a>\r\n  <!--c-->\r\n  <b>\r\n"
                                           "    <c>2</c>\r\n  </b>\r\n</src>\r\n");
    EXPECT_EQ(root->Children().IntOf("a", -1), 1);

    root->CopyFrom(nullptr);
    EXPECT_EQ(root->ChildCount(), 0);
    EXPECT_EQ(root->TagName(), "src");
}

TEST(SimpleXMLTree, CopyFromOwnSubtreeOrItselfIsSafe) {
    TSimpleXML doc;
    doc.ReadText("<a k=\"1\"><b m=\"2\"><c>3</c></b><d/></a>");
    TSimpleXMLElemClassic* root = doc.RootElem();
    root->CopyFrom(root);
    EXPECT_EQ(doc.WriteText(),
              Header +
                  "<a k=\"1\">\r\n  <b m=\"2\">\r\n    <c>3</c>\r\n  </b>\r\n  <d/>\r\n</a>\r\n");
    root->CopyFrom(root->Children().At(0));
    EXPECT_EQ(doc.WriteText(), Header + "<b m=\"2\">\r\n  <c>3</c>\r\n</b>\r\n");
}

TEST(SimpleXMLTree, HeaderCopyCarriesItsFields) {
    TSimpleXMLElemHeader source;
    source.Version = "1.1";
    source.Encoding = "GBK";
    source.StandAlone = true;
    std::unique_ptr<TSimpleXMLElem> copy = source.CreateSameKind(nullptr);
    copy->CopyFrom(&source);
    std::string out;
    copy->WriteTo(out, "");
    EXPECT_EQ(out, "<?xml version=\"1.1\" encoding=\"GBK\" standalone=\"yes\"?>\r\n");
}

} // namespace
