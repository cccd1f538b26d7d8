#include "codegen/BuildListing.h"

#include "CodegenTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace codegen_test;
using TLines = std::vector<std::string>;

TLines Compile(const std::vector<TListingBlock>& blocks) {
    TSimpleXML scratch;
    TLines lines{"old pane line"};
    BuildListing(blocks, scratch, lines);
    return lines;
}

TEST(BuildListing, WorkedExampleWithLabel) {
    const std::vector<TListingBlock> chain = {
        Block(1, {{"mode", "0"}, {"wait", "0"}}),
        Label("L1"),
        Block(5, {{"wait", "100"}}),
        Goto("L1"),
    };
    EXPECT_EQ(Compile(chain), (TLines{
                                  "10 REM \"DEDEVAV\"",
                                  "20 REM \"FDX\"",
                                  "30 REM \"REM L1\"",
                                  "40 REM \"WAIT 100\"",
                                  "50 REM \"GOTO 30\"",
                              }));
}

TEST(BuildListing, WorkedExampleWithSubroutine) {
    const std::vector<TListingBlock> chain = {
        SubCall("S1"),  Block(14),
        SubStart("S1"), Block(6, {{"key", "2"}, {"keycmd", "-1"}, {"content", "C4"}}),
        Block(24),
    };
    EXPECT_EQ(Compile(chain), (TLines{
                                  "10 REM \"DEDEVAV\"",
                                  "20 REM \"GOSUB 40\"",
                                  "30 REM \"END\"",
                                  "40 REM \"REM S1\"",
                                  "50 REM \"KEY 2\"",
                                  "60 REM \"PLAY C4\"",
                                  "70 REM \"RETURN\"",
                              }));
}

TEST(BuildListing, EmptyChainGivesTheHeaderOnly) {
    EXPECT_EQ(Compile({}), TLines{"10 REM \"DEDEVAV\""});
}

struct TResolutionCase {
    const char* What;
    std::vector<TListingBlock> Chain;
    TLines Statements; // the quoted part of lines 20, 30, ...
};

// Every listing line of these charts is checked; the header is left out of
// the expectations.
TEST(BuildListing, ResolutionOfLabelsAndSubroutines) {
    const std::vector<TResolutionCase> cases = {
        {"a jump before and after its label",
         {Goto("L1"), Label("L1"), GotoIf("A>3", "L1")},
         {"GOTO 30", "REM L1", "IF A>3 THEN 30"}},
        {"an undefined label stays as it is",
         {Label("L1"), Goto("L9")},
         {"REM L1", "GOTO label: L9"}},
        {"an expression line takes part like any block",
         {Label("L1"), Expression("ON A GOTO label: L1,label: L2"), Label("L2")},
         {"REM L1", "ON A GOTO 20,40", "REM L2"}},
        {"an expression that begins with the prefix defines a label",
         {Expression("label: X"), Goto("X")},
         {"REM X", "GOTO 20"}},
        {"only the first reference in a line is replaced",
         {Label("L1"), Expression("IF label: L1 THEN label: L1")},
         {"REM L1", "IF 20 THEN label: L1"}},
        // Mended: a shorter name matched inside an undefined longer one.
        {"a defined L1 leaves an undefined L10 alone",
         {Label("L1"), Goto("L10"), Goto("L1"), Goto("L1_"), Goto("L1\xBF\xAA" /* 开 */)},
         {"REM L1", "GOTO label: L10", "GOTO 20", "GOTO label: L1_", "GOTO label: L1\xBF\xAA"}},
        {"defined L1 and L10 each resolve to their own line",
         {Label("L10"), Label("L1"), Goto("L1"), Goto("L10")},
         {"REM L10", "REM L1", "GOTO 30", "GOTO 20"}},
        // Mended: the empty label matched the start of every other name.
        {"the empty label resolves only a jump to it",
         {Label(""), Goto("X"), Goto(""), GotoIf("A", "")},
         {"REM ", "GOTO label: X", "GOTO 20", "IF A THEN 20"}},
        // Mended: the "=" in a name stopped the compile.
        {"a label with equals signs",
         {Goto("A=B"), Label("A=B"), Label("=5"), Goto("=5")},
         {"GOTO 30", "REM A=B", "REM =5", "GOTO 40"}},
        {"names that differ in case share the first one's number",
         {Label("abc"), Label("ABC"), Goto("ABC"), Goto("abc")},
         {"REM abc", "REM ABC", "GOTO 20", "GOTO 20"}},
        {"the second byte of a double-byte character is not a letter",
         {Label("\x81\x41"), Label("\x81\x61"), Goto("\x81\x61"), Goto("\x81\x41")},
         {"REM \x81\x41", "REM \x81\x61", "GOTO 30", "GOTO 20"}},
        {"equal names share the first definition's number",
         {Goto("L"), Label("L"), Label("L")},
         {"GOTO 30", "REM L", "REM L"}},
        {"Chinese label names",
         {Goto("\xBF\xAA\xCA\xBC" /* 开始 */), Label("\xBF\xAA\xCA\xBC")},
         {"GOTO 30", "REM \xBF\xAA\xCA\xBC"}},
        // References match letter case exactly; only the numbers of names
        // that differ in case are shared.
        {"subroutines follow the same rule",
         {SubCall("S1"), SubCall("S10"), SubCall("s1"), Block(14), SubStart("S1"), Block(24),
          SubStart("\xD7\xD3" /* 子 */), Block(24), SubCall("\xD7\xD3")},
         {"GOSUB 60", "GOSUB sub: S10", "GOSUB sub: s1", "END", "REM S1", "RETURN", "REM \xD7\xD3",
          "RETURN", "GOSUB 80"}},
        {"quotes inside statements stay doubled, the empty statement is two quotes",
         {Expression("PRINT \"HI\""), Expression(""), Label("\"q\""), Goto("\"q\"")},
         {"PRINT \"\"HI\"\"", "", "REM \"\"q\"\"", "GOTO 40"}},
        {"kinds 7 and 8 take no line number, a sound block with KEY takes two",
         {Block(7), Block(6, {{"key", "1"}, {"keycmd", "1"}, {"content", "C4"}}), Block(8),
          Label("L"), Goto("L")},
         {"KEY 1", "PLAY C4", "REM L", "GOTO 40"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TLines expected{"10 REM \"DEDEVAV\""};
        for (size_t i = 0; i < c.Statements.size(); ++i)
            expected.push_back(std::to_string((i + 2) * 10) + " REM \"" + c.Statements[i] + "\"");
        EXPECT_EQ(Compile(c.Chain), expected);
    }
}

TEST(BuildListing, ParseErrorLeavesTheLinesProducedSoFar) {
    const std::vector<TListingBlock> chain = {
        Block(1, {{"mode", "0"}}),
        Block(6, {{"key", "0"}, {"keycmd", "-1"}, {"content", "C4"}}),
        Label("L1"),
        TListingBlock{Tag(25), "<CtrlNode type=\"25\"><sub>a<b</sub></CtrlNode>"},
        Goto("L1"),
    };
    TSimpleXML scratch;
    TLines lines{"old pane line"};
    EXPECT_THROW(BuildListing(chain, scratch, lines), ESimpleXMLError);
    EXPECT_EQ(lines,
              (TLines{"\"DEDEVAV\"", "\"FDX\"", "\"KEY 0\"", "\"PLAY C4\"", "\"label: L1\""}));
}

// Golden charts: NAME.chart holds one block per line, its tag code, a blank
// and its record text; NAME.listing the expected listing.
std::vector<std::string> GoldenCases() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(DD_TEST_DATA_DIR))
        if (entry.path().extension() == ".chart")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

TLines ReadLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    TLines lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<TListingBlock> ReadChart(const std::filesystem::path& path) {
    std::vector<TListingBlock> blocks;
    for (const auto& line : ReadLines(path)) {
        if (line.empty() || line.front() == '#')
            continue;
        const auto blank = line.find(' ');
        blocks.push_back(TListingBlock{std::stoi(line.substr(0, blank)),
                                       blank == std::string::npos ? "" : line.substr(blank + 1)});
    }
    return blocks;
}

class GoldenListing : public testing::TestWithParam<std::string> {};

TEST_P(GoldenListing, MatchesAndIsTheSameWhenCompiledAgain) {
    const std::filesystem::path dir = DD_TEST_DATA_DIR;
    const auto chain = ReadChart(dir / (GetParam() + ".chart"));
    const auto expected = ReadLines(dir / (GetParam() + ".listing"));
    TSimpleXML scratch;
    TLines lines;
    BuildListing(chain, scratch, lines);
    EXPECT_EQ(lines, expected);
    BuildListing(chain, scratch, lines);
    EXPECT_EQ(lines, expected);
}

INSTANTIATE_TEST_SUITE_P(Charts, GoldenListing, testing::ValuesIn(GoldenCases()));

} // namespace
