#include "document/FlowchartFile.h"

#include "blocks/BlockCatalogue.h"
#include "xml/SimpleXML.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadData(const std::string& name) {
    std::ifstream in(std::string(DD_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Record(TSimpleXML& scratch, int kind,
                   const std::vector<std::pair<std::string, std::string>>& fields) {
    TSimpleXMLElemClassic* root = scratch.RootElem();
    root->ClearContent();
    root->Rename("CtrlNode");
    root->Attributes().AddInt("type", kind);
    for (const auto& [name, value] : fields)
        root->Children().AddText(name, value);
    return scratch.WriteText();
}

std::vector<std::string> RecordTexts(const std::vector<TLoadedBlock>& blocks) {
    std::vector<std::string> texts;
    for (const TLoadedBlock& b : blocks)
        texts.push_back(b.RecordText);
    return texts;
}

TEST(FlowchartFile, TwoBlocksPrintAsTheFourteenLineFile) {
    TSimpleXML scratch, doc;
    const std::vector<std::string> records = {BuildDefaultRecord(scratch, 1),
                                              Record(scratch, 5, {{"wait", "100"}})};
    BuildFileTree(doc, scratch, records);
    EXPECT_EQ(doc.WriteText(), ReadData("two_blocks.rer"));
}

TEST(FlowchartFile, EmptyChartIsHeaderAndEmptyRoot) {
    TSimpleXML scratch, doc;
    BuildFileTree(doc, scratch, {});
    EXPECT_EQ(doc.WriteText(),
              "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<VAZIREZA/>\r\n");
}

TEST(FlowchartFile, SaveLoadSaveIsByteIdentical) {
    TSimpleXML scratch, doc;
    // A label and a subroutine with Chinese names, a melody, a speech block and
    // the two kinds without fields.
    const std::vector<std::string> records = {
        Record(scratch, 11, {{"label", EncodeEntities("\xBF\xAA\xCA\xBC")}}), // 开始
        Record(scratch, 23, {{"sub", "\xD7\xD3\xB3\xCC\xD0\xF2"}}),           // 子程序
        Record(scratch, 6, {{"key", "3"}, {"keycmd", "-1"}, {"content", "84540811"}}),
        Record(scratch, 26, {{"index", "23"}}),
        BuildDefaultRecord(scratch, 14),
        BuildDefaultRecord(scratch, 24),
        Record(scratch, 25, {{"sub", "\xD7\xD3\xB3\xCC\xD0\xF2"}}),
    };
    BuildFileTree(doc, scratch, records);
    const std::string first = doc.WriteText();

    TSimpleXML loaded;
    loaded.ReadText(first);
    const std::vector<TLoadedBlock> blocks = ReadFileTree(loaded, scratch);
    ASSERT_EQ(blocks.size(), records.size());
    EXPECT_EQ(RecordTexts(blocks), records);
    EXPECT_EQ(blocks[0].ChartValue, "\xBF\xAA\xCA\xBC");
    EXPECT_EQ(blocks[1].ChartValue, "\xD7\xD3\xB3\xCC\xD0\xF2");
    EXPECT_EQ(blocks[3].PhraseIndex, 23);

    BuildFileTree(loaded, scratch, RecordTexts(blocks));
    EXPECT_EQ(loaded.WriteText(), first);
}

TEST(FlowchartFile, HandWrittenFileLoadsByPositionAndKeepsItsProlog) {
    TSimpleXML scratch, doc;
    doc.ReadText(ReadData("hand_written.rer"));
    const std::vector<TLoadedBlock> blocks = ReadFileTree(doc, scratch);

    // Kind 7, an empty record, a record without type and kind 27 are dropped.
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].Kind, 11);
    EXPECT_EQ(blocks[0].ChartValue, "\xB1\xEA"); // 标
    EXPECT_EQ(blocks[0].RecordText, "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
                                    "<CtrlNode type=\"11\">\r\n"
                                    "  <label>&#xB1;&#xEA;</label>\r\n"
                                    "</CtrlNode>\r\n");
    EXPECT_EQ(blocks[1].Kind, 26);
    EXPECT_EQ(blocks[1].PhraseIndex, 99);
    EXPECT_EQ(blocks[2].Kind, 11);
    EXPECT_EQ(blocks[2].ChartValue, "");
    // Extra fields survive loading; only an edit rewrites the record.
    EXPECT_NE(blocks[3].RecordText.find("<extra>1</extra>"), std::string::npos);

    // Saving into the same document prints the header and comment it read.
    BuildFileTree(doc, scratch, RecordTexts(blocks));
    const std::string saved = doc.WriteText();
    EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<!-- written by hand "
                          "-->\r\n<VAZIREZA>\r\n",
                          0),
              0u)
        << saved;
}

} // namespace
