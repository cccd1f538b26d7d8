// The block catalogue and the parameter records built and read through it.

#include "blocks/BlockCatalogue.h"

#include "xml/SimpleXML.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

const std::string Header = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";
const std::string Kaishi = "\xBF\xAA\xCA\xBC"; // 开始 in GBK

std::string ReadData(const std::string& name) {
    std::ifstream in(std::string(DD_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class DefaultRecord : public ::testing::TestWithParam<int> {};

TEST_P(DefaultRecord, MatchesItsGoldenFile) {
    const int kind = GetParam();
    char name[32];
    std::snprintf(name, sizeof name, "default_record_%02d.xml", kind);
    TSimpleXML scratch;
    // Whatever the scratch document held before must not leak into the record.
    scratch.ReadText("<p:Old type=\"99\" x=\"1\">junk</p:Old>");
    EXPECT_EQ(BuildDefaultRecord(scratch, kind), ReadData(name));
}

std::vector<int> KindsWithRecords() {
    std::vector<int> kinds;
    for (const TBlockKind& kind : BlockCatalogue())
        if (kind.HasRecord())
            kinds.push_back(kind.Kind);
    return kinds;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, DefaultRecord, ::testing::ValuesIn(KindsWithRecords()));

TEST(BlockCatalogue, KindsAndTagCodes) {
    ASSERT_EQ(BlockCatalogue().size(), 26u);
    EXPECT_EQ(KindsWithRecords().size(), 24u);
    for (int n = FirstBlockKind; n <= LastBlockKind; ++n) {
        const TBlockKind* kind = FindBlockKind(n);
        ASSERT_NE(kind, nullptr);
        EXPECT_EQ(kind->Kind, n);
        EXPECT_EQ(kind->TagCode(), 576 + n);
        EXPECT_EQ(FindBlockKindByTag(576 + n), kind);
        EXPECT_EQ(kind->HasRecord(), n != 7 && n != 8);
        EXPECT_EQ(kind->Group == nullptr, n == 7 || n == 8);
    }
    for (int bad : {0, -1, 27})
        EXPECT_EQ(FindBlockKind(bad), nullptr);
    for (int32_t tag : {TagStartBlock, TagEndBlock, TagSpotMarker, 576, 603, 0})
        EXPECT_EQ(FindBlockKindByTag(tag), nullptr);
    EXPECT_EQ(FindBlockKind(1)->DialogClass, "TFormZhiXing");
    EXPECT_EQ(FindBlockKind(26)->ChartPrefix, "语音: ");
    EXPECT_EQ(FindBlockKind(13)->ChartValueField, "label");
}

// The names are what the compile and the palette switch on: each must be the
// kind whose dialog (or, for the two hidden kinds, caption) it is named after.
TEST(BlockCatalogue, NamedKindsAreTheirDialogsKinds) {
    using enum TKindId;
    const struct {
        TKindId Id;
        int Number;
        std::string_view DialogOrCaption;
    } cases[] = {
        {ZhiXing, 1, "TFormZhiXing"},
        {ZhuanXiang, 2, "TFormZhuanXiang"},
        {QiDongDJ, 3, "TFormQiDongDJ"},
        {TingZhiDJ, 4, "TFormTingZhiDJ"},
        {YanShi, 5, "TFormYanShi"},
        {FaYin, 6, "TFormFaYin"},
        {HongWaiXian, 7, "红外线"},
        {GuangGan, 8, "光感"},
        {FORBegin, 9, "TFormFORBegin"},
        {FOREnd, 10, "TFormFOREnd"},
        {GOTOBegin, 11, "TFormGOTOBegin"},
        {GOTOEnd, 12, "TFormGOTOEnd"},
        {GOTOIF, 13, "TFormGOTOIF"},
        {JieShu, 14, "TFormJieShu"},
        {LED, 15, "TFormLED"},
        {PORTDDR, 16, "TFormPORTDDR"},
        {PORTIN, 17, "TFormPORTIN"},
        {PORTOUT, 18, "TFormPORTOUT"},
        {Servo, 19, "TFormServo"},
        {BiaoDaShi, 20, "TFormBiaoDaShi"},
        {DIN, 21, "TFormDIN"},
        {AIN, 22, "TFormAIN"},
        {SubBegin, 23, "TFormSubBegin"},
        {SubEnd, 24, "TFormSubEnd"},
        {GOSUB, 25, "TFormGOSUB"},
        {VOICEX, 26, "TFormVOICEX"},
    };
    static_assert(std::size(cases) == LastBlockKind);
    for (const auto& c : cases) {
        const TBlockKind& kind = BlockKind(c.Id);
        EXPECT_EQ(KindNumber(c.Id), c.Number);
        EXPECT_EQ(kind.Kind, c.Number);
        EXPECT_EQ(kind.Id(), c.Id);
        EXPECT_EQ(TagCodeOf(c.Id), kind.TagCode());
        EXPECT_EQ(kind.HasRecord() ? kind.DialogClass : kind.Caption, c.DialogOrCaption);
    }
}

// The palette shows the groups in this order; a kind's group is one of them.
TEST(BlockCatalogue, PaletteGroups) {
    const std::string_view captions[] = {"执行模块", "传感器模块", "控制模块", "程序模块"};
    ASSERT_EQ(BlockGroups().size(), std::size(captions));
    for (size_t g = 0; g < BlockGroups().size(); ++g)
        EXPECT_EQ(BlockGroups()[g].Caption, captions[g]);
    for (const TBlockKind& kind : BlockCatalogue()) {
        if (!kind.Group)
            continue;
        EXPECT_GE(kind.Group, BlockGroups().data()) << kind.Kind;
        EXPECT_LT(kind.Group, BlockGroups().data() + BlockGroups().size()) << kind.Kind;
    }
    EXPECT_EQ(BlockKind(TKindId::JieShu).Group, &BlockGroups()[3]);
    EXPECT_EQ(BlockKind(TKindId::PORTDDR).Group, &BlockGroups()[1]);
}

TEST(BlockCatalogue, KindsWithoutARecordAreRefused) {
    TSimpleXML scratch;
    for (int kind : {7, 8, 0, 27})
        EXPECT_THROW(BuildDefaultRecord(scratch, kind), std::invalid_argument) << kind;
    EXPECT_THROW(TRecordValues(7), std::invalid_argument);
    EXPECT_THROW(TRecordValues(TKindId::GuangGan), std::invalid_argument);
    EXPECT_THROW(BuildDefaultRecord(scratch, TKindId::HongWaiXian), std::invalid_argument);
    EXPECT_THROW(BlockKind(TKindId(27)), std::invalid_argument);
}

TEST(RecordValues, BuildEncodesAndReadDecodes) {
    TSimpleXML scratch;
    TRecordValues label(TKindId::GOTOBegin);
    label.SetText("label", Kaishi);
    const std::string labelRecord = BuildRecord(scratch, TKindId::GOTOBegin, label);
    EXPECT_EQ(labelRecord,
              Header + "<CtrlNode type=\"11\">\r\n  <label>&#xBF;&#xAA;&#xCA;&#xBC;</label>\r\n"
                       "</CtrlNode>\r\n");
    const TRecordValues readLabel = ReadRecord(scratch, labelRecord, TKindId::GOTOBegin);
    EXPECT_EQ(readLabel.Id(), TKindId::GOTOBegin);
    EXPECT_EQ(readLabel.Text("label"), Kaishi);
    EXPECT_EQ(readLabel.ChartValue(), Kaishi);

    TRecordValues jump(13);
    jump.SetText("condition", "A<>\"B'&");
    jump.SetText("label", "L1");
    const std::string jumpRecord = BuildRecord(scratch, 13, jump);
    EXPECT_NE(jumpRecord.find("<condition>A&lt;&gt;&quot;B&apos;&amp;</condition>"),
              std::string::npos);
    EXPECT_EQ(ReadRecord(scratch, jumpRecord, 13).Text("condition"), "A<>\"B'&");
    EXPECT_EQ(ReadRecord(scratch, jumpRecord, 13).ChartValue(),
              "L1"); // the label, not the condition

    // Names and melody codes are stored as typed, "<" included.
    TRecordValues sub(23);
    sub.SetText("sub", "a<b\xD7\xD3");
    EXPECT_EQ(BuildRecord(scratch, 23, sub),
              Header + "<CtrlNode type=\"23\">\r\n  <sub>a<b\xD7\xD3</sub>\r\n</CtrlNode>\r\n");

    TRecordValues sound(6);
    EXPECT_FALSE(sound.Bool("keycmd"));
    sound.SetBool("keycmd", true);
    sound.SetInt("key", 3);
    sound.SetText("content", "8454");
    const std::string soundRecord = BuildRecord(scratch, 6, sound);
    EXPECT_NE(soundRecord.find("<keycmd>-1</keycmd>"), std::string::npos);
    const TRecordValues readSound = ReadRecord(scratch, soundRecord, 6);
    EXPECT_TRUE(readSound.Bool("keycmd"));
    EXPECT_EQ(readSound.Int("key"), 3);
    EXPECT_EQ(readSound.Text("content"), "8454");
    // A record the program wrote reads back and rebuilds to the same text.
    EXPECT_EQ(BuildRecord(scratch, 6, readSound), soundRecord);
}

TEST(RecordValues, ReadersUseTheRecordDefaults) {
    const struct {
        int Kind;
        const char* Record;
        const char* Field;
        int64_t Int;
    } intCases[] = {
        {1, "<CtrlNode type=\"1\"><mode>2</mode></CtrlNode>", "wait", -1},
        {1, "<CtrlNode type=\"1\"><mode>2</mode><wait>x</wait></CtrlNode>", "wait", -1},
        {1, "<CtrlNode type=\"1\"><wait>100 </wait></CtrlNode>", "wait", -1},
        {1, "<CtrlNode type=\"1\"><WAIT> 100</WAIT></CtrlNode>", "wait", 100},
        {1, "<CtrlNode type=\"1\"><wait>1</wait><wait>2</wait></CtrlNode>", "wait", 2},
        {5, "<CtrlNode type=\"5\"><wait>4294967295</wait></CtrlNode>", "wait", -1},
        {5, "<CtrlNode type=\"5\"><wait>$10000002A</wait></CtrlNode>", "wait", 42},
        {5, "<CtrlNode type=\"5\"/>", "wait", -1},
        {26, "<CtrlNode type=\"26\"><index>99</index></CtrlNode>", "index", 99},
    };
    TSimpleXML scratch;
    for (const auto& c : intCases)
        EXPECT_EQ(ReadRecord(scratch, c.Record, c.Kind).Int(c.Field), c.Int) << c.Record;

    const struct {
        const char* Record;
        bool Expected;
    } boolCases[] = {
        {"<CtrlNode type=\"6\"><keycmd/></CtrlNode>", true},
        {"<CtrlNode type=\"6\"/>", true},
        {"<CtrlNode type=\"6\"><keycmd>0</keycmd></CtrlNode>", false},
        {"<CtrlNode type=\"6\"><keycmd>FALSE</keycmd></CtrlNode>", false},
        {"<CtrlNode type=\"6\"><keycmd>yes</keycmd></CtrlNode>", false},
        {"<CtrlNode type=\"6\"><keycmd>2</keycmd></CtrlNode>", true},
    };
    for (const auto& c : boolCases)
        EXPECT_EQ(ReadRecord(scratch, c.Record, 6).Bool("keycmd"), c.Expected) << c.Record;

    const TRecordValues noText = ReadRecord(scratch, "<CtrlNode type=\"20\"/>", 20);
    EXPECT_EQ(noText.Text("command"), "");
    EXPECT_EQ(noText.ChartValue(), "");
}

// Integer fields keep their text as the record holds it, for the blocks that
// send it unconverted; values set or defaulted read as the decimal written.
TEST(RecordValues, IntegerFieldsKeepTheirStoredText) {
    const struct {
        const char* Record;
        const char* Text;
        int64_t Int;
    } cases[] = {
        {"<CtrlNode type=\"1\"><wait>0100</wait></CtrlNode>", "0100", 100},
        {"<CtrlNode type=\"1\"><wait>x</wait></CtrlNode>", "x", -1},
        {"<CtrlNode type=\"1\"><wait>$10</wait></CtrlNode>", "$10", 16},
        {"<CtrlNode type=\"1\"><wait/></CtrlNode>", "", -1},
        {"<CtrlNode type=\"1\"><mode>2</mode></CtrlNode>", "", -1},
        {"<CtrlNode type=\"1\"/>", "", -1},
    };
    TSimpleXML scratch;
    for (const auto& c : cases) {
        const TRecordValues values = ReadRecord(scratch, c.Record, TKindId::ZhiXing);
        EXPECT_EQ(values.StoredText("wait"), c.Text) << c.Record;
        EXPECT_EQ(values.Int("wait"), c.Int) << c.Record;
    }

    TRecordValues values(TKindId::LED);
    EXPECT_EQ(values.StoredText("led"), "7");
    values.SetInt("led", -3);
    EXPECT_EQ(values.StoredText("led"), "-3");
    // What is built is the integer, whatever text it was read from.
    TRecordValues odd = ReadRecord(scratch, "<CtrlNode type=\"5\"><wait>0100</wait></CtrlNode>", 5);
    EXPECT_NE(BuildRecord(scratch, 5, odd).find("<wait>100</wait>"), std::string::npos);
    EXPECT_THROW(odd.StoredText("mode"), std::invalid_argument);
    EXPECT_THROW(ReadRecord(scratch, "<CtrlNode/>", TKindId::GOSUB).StoredText("sub"),
                 std::invalid_argument);
}

TEST(RecordValues, RebuildingDropsAnOlderLayout) {
    TSimpleXML scratch;
    const TRecordValues values = ReadRecord(
        scratch, "<Node type=\"9\" extra=\"1\"><var>3</var><old>1</old><times>5</times></Node>", 9);
    EXPECT_EQ(BuildRecord(scratch, 9, values),
              Header + "<CtrlNode type=\"9\">\r\n  <times>5</times>\r\n  <var>3</var>\r\n"
                       "</CtrlNode>\r\n");
    // A field that was missing is written with the value it read as.
    const TRecordValues partial =
        ReadRecord(scratch, "<CtrlNode type=\"2\"><mode>1</mode></CtrlNode>", 2);
    EXPECT_EQ(BuildRecord(scratch, 2, partial),
              Header + "<CtrlNode type=\"2\">\r\n  <mode>1</mode>\r\n  <wait>-1</wait>\r\n"
                       "</CtrlNode>\r\n");
}

TEST(RecordValues, MisuseIsRefused) {
    TRecordValues values(1);
    EXPECT_THROW(values.Int("label"), std::invalid_argument);
    EXPECT_THROW(values.Text("mode"), std::invalid_argument);
    EXPECT_THROW(values.SetBool("mode", true), std::invalid_argument);
    TSimpleXML scratch;
    EXPECT_THROW(BuildRecord(scratch, 2, values), std::invalid_argument);
    EXPECT_THROW(ReadRecord(scratch, "<CtrlNode type=\"1\"><mode>1</mode", 1).Int("x"),
                 std::invalid_argument);
    EXPECT_THROW(ReadRecord(scratch, "<CtrlNode type=1/>", 1), ESimpleXMLError);
}

} // namespace
