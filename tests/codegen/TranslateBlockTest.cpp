#include "codegen/TranslateBlock.h"

#include "CodegenTestSupport.h"
#include "codegen/StatementQuoting.h"

#include <gtest/gtest.h>

namespace {

using namespace codegen_test;

struct TTranslationCase {
    int Kind;
    TFields Fields;
    std::vector<std::string> Statements; // before quoting
};

std::vector<std::string> Translate(TSimpleXML& scratch, int32_t tagCode, const std::string& text) {
    std::vector<std::string> lines{"left over"};
    TranslateBlock(tagCode, text, scratch, lines);
    return lines;
}

// One scratch document serves the whole table, in order, so a field that is
// missing from a record must not show a value left by the record before it.
TEST(TranslateBlock, StatementsOfEveryKind) {
    const std::vector<TTranslationCase> cases = {
        {1, {{"mode", "0"}, {"wait", "0"}}, {"FDX"}},
        {1, {{"mode", "1"}}, {"BKX"}},
        {1, {{"mode", "2"}, {"wait", "100"}}, {"FD 100"}},
        {1, {{"mode", "2"}, {"wait", "0100"}}, {"FD 0100"}}, // time copied as text
        {1, {{"mode", "2"}}, {"FD "}},
        {1, {{"mode", "3"}, {"wait", "7"}}, {"BK 7"}},
        {1, {{"mode", "4"}, {"wait", "7"}}, {""}},
        {1, {}, {""}},
        {2, {{"mode", "0"}}, {"LTX"}},
        {2, {{"mode", "1"}}, {"RTX"}},
        {2, {{"mode", "2"}, {"wait", "5"}}, {"LT 5"}},
        {2, {{"mode", "3"}, {"wait", "50"}}, {"RT 50"}},
        {2, {{"mode", "-1"}}, {""}},
        {3, {{"motorL", "100"}, {"motorR", "-100"}}, {"MOTOR 100,-100"}},
        {3, {}, {"MOTOR -1,-1"}},
        {4, {{"mode", "0"}}, {"STX"}},
        {4, {{"mode", "1"}}, {"MOTOR 0,0"}},
        {4, {{"mode", "2"}}, {""}},
        {5, {{"wait", "1000"}}, {"WAIT 1000"}},
        {5, {{"wait", "0100"}}, {"WAIT 100"}}, // integer converted
        {5, {{"wait", "-5"}}, {"WAIT -5"}},
        {5, {{"wait", "$10"}}, {"WAIT 16"}},
        {5, {{"wait", "100 "}}, {"WAIT -1"}},
        {5, {{"wait", "4294967297"}}, {"WAIT 1"}}, // low 32 bits
        {5, {{"wait", "2147483648"}}, {"WAIT -2147483648"}},
        {6, {{"key", "2"}, {"keycmd", "-1"}, {"content", "C4E4"}}, {"KEY 2", "PLAY C4E4"}},
        {6, {{"key", "2"}, {"keycmd", "0"}, {"content", "C4E4"}}, {"PLAY C4E4"}},
        {6, {{"key", "3"}, {"content", "D5"}}, {"KEY 3", "PLAY D5"}},
        {6, {{"key", "3"}, {"keycmd", ""}, {"content", "D5"}}, {"KEY 3", "PLAY D5"}},
        {6, {{"key", "1"}, {"keycmd", "false"}}, {"PLAY "}},
        {9, {{"times", "5"}, {"var", "0"}}, {"FOR A=1 TO 5"}},
        {9, {{"times", "3"}}, {"FOR @=1 TO 3"}},
        {10, {{"var", "0"}}, {"NEXT A"}},
        {10, {{"var", "25"}}, {"NEXT Z"}},
        {10, {{"var", "30"}}, {"NEXT _"}},
        {10, {{"var", "-65"}}, {std::string("NEXT \0", 6)}},
        {10, {{"var", "256"}}, {"NEXT A"}},
        {11, {{"label", "L1"}}, {"label: L1"}},
        {11, {{"label", "A&amp;B"}}, {"label: A&B"}},
        {11, {{"label", "&#xBF;&#xAA;&#xCA;&#xBC;"}}, {"label: \xBF\xAA\xCA\xBC" /* 开始 */}},
        {11, {}, {"label: "}},
        {12, {{"label", "L1"}}, {"GOTO label: L1"}},
        {13, {{"condition", "A&gt;3"}, {"label", "L1"}}, {"IF A>3 THEN label: L1"}},
        {13, {}, {"IF  THEN label: "}},
        {14, {{"mode", "1"}}, {"END"}},
        {15, {{"led", "7"}}, {"LED 7"}},
        {16, {{"ddr", "1"}, {"data", "255"}}, {"DDRB 255"}},
        {17, {{"var", "2"}, {"port", "3"}}, {"C=PIND"}},
        {18, {{"port", "1"}, {"data", "15"}}, {"PORTB 15"}},
        {19,
         {{"data1", "9"},
          {"data2", "9"},
          {"data3", "9"},
          {"data4", "9"},
          {"data5", "9"},
          {"speed", "1"}},
         {"SERVOE 9,9,9,9,9,1"}},
        {19, {{"data3", "18"}}, {"SERVOE -1,-1,18,-1,-1,-1"}},
        {20, {{"command", "A=A+1"}}, {"A=A+1"}},
        {20,
         {{"command", "IF A&lt;&gt;B THEN PRINT &apos;&#xBF;&#xAA;"}},
         {"IF A<>B THEN PRINT '\xBF\xAA" /* 开 */}},
        {20, {{"command", ""}}, {""}},
        {21, {{"var", "0"}, {"index", "5"}}, {"A=MIC"}},
        {21, {{"var", "3"}, {"index", "0"}}, {"D=PC0"}},
        {21, {{"var", "1"}, {"index", "4"}}, {"B=PC4"}},
        {21, {{"var", "1"}, {"index", "6"}}, {"B=PCX"}},
        {21, {{"var", "1"}, {"index", "-1"}}, {"B=PCX"}},
        {22, {{"var", "1"}, {"index", "3"}}, {"B=ADC3"}},
        {22, {{"var", "1"}}, {"B=ADC-1"}},
        {23, {{"sub", "S1"}}, {"sub: S1"}},
        {23, {{"sub", "A&amp;B"}}, {"sub: A&amp;B"}}, // stored as typed, never decoded
        {23, {{"sub", "\xD7\xD3" /* 子 */}}, {"sub: \xD7\xD3"}},
        {24, {}, {"RETURN"}},
        {25, {{"sub", "S1"}}, {"GOSUB sub: S1"}},
        {25, {}, {"GOSUB sub: "}},
        {26, {{"index", "4"}}, {"VOICEX 4"}},
    };
    TSimpleXML scratch;
    for (const auto& c : cases) {
        const std::string text = RecordText(c.Kind, c.Fields);
        SCOPED_TRACE(text);
        std::vector<std::string> expected;
        for (const auto& statement : c.Statements)
            expected.push_back(QuoteStatement(statement));
        EXPECT_EQ(Translate(scratch, Tag(c.Kind), text), expected);
    }
}

TEST(TranslateBlock, InnerQuotesAreDoubled) {
    TSimpleXML scratch;
    // PRINT "X": 9 bytes become 13.
    EXPECT_EQ(Translate(scratch, Tag(20), RecordText(20, {{"command", "PRINT &quot;X&quot;"}})),
              std::vector<std::string>{"\"PRINT \"\"X\"\"\""});
    EXPECT_EQ(Translate(scratch, Tag(20), RecordText(20, {{"command", "&quot;"}})),
              std::vector<std::string>{"\"\"\"\""});
    // A letter field of -31 is the byte 34, a double quote, and is doubled too.
    EXPECT_EQ(Translate(scratch, Tag(10), RecordText(10, {{"var", "-31"}})),
              std::vector<std::string>{"\"NEXT \"\"\""});
    EXPECT_EQ(Translate(scratch, Tag(20), RecordText(20, {})), std::vector<std::string>{"\"\""});
}

// End and return need no parameters and so come out of any record; kinds 7
// and 8, and tag codes that are no block, give nothing. None of them reads the
// record, so a broken one raises nothing.
TEST(TranslateBlock, KindsThatDoNotReadTheRecord) {
    TSimpleXML scratch;
    for (const std::string text : {"", "<CtrlNode type=14/>", "not xml at all"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Translate(scratch, Tag(14), text), std::vector<std::string>{"\"END\""});
        EXPECT_EQ(Translate(scratch, Tag(24), text), std::vector<std::string>{"\"RETURN\""});
        for (const int32_t tag : {Tag(7), Tag(8), TagStartBlock, TagEndBlock, TagSpotMarker, Tag(0),
                                  Tag(27), int32_t{0}, int32_t{-1}, INT32_MIN, INT32_MAX}) {
            EXPECT_TRUE(Translate(scratch, tag, text).empty()) << tag;
        }
    }
}

TEST(TranslateBlock, RecordThatDoesNotParseRaisesWithNothingAppended) {
    TSimpleXML scratch;
    const std::vector<std::pair<int32_t, std::string>> broken = {
        // A subroutine name typed with a less-than sign is stored unescaped.
        {Tag(25), "<CtrlNode type=\"25\">\r\n  <sub>a<b</sub>\r\n</CtrlNode>\r\n"},
        {Tag(6), "<CtrlNode type=\"6\"><key>1</key></CtrlNode2>"},
        {Tag(1), "garbage"},
        {Tag(5), "<CtrlNode type=5/>"},
    };
    for (const auto& [tag, text] : broken) {
        SCOPED_TRACE(text);
        std::vector<std::string> lines{"left over"};
        EXPECT_THROW(TranslateBlock(tag, text, scratch, lines), ESimpleXMLError);
        EXPECT_TRUE(lines.empty());
    }
}

} // namespace
