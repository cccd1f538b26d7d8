#include "download/ProgramImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ImageOf(const std::vector<std::string>& lines) {
    Bytes image;
    BuildImageBytes(lines, image);
    return image;
}

TEST(ProgramImage, WorkedExampleByteForByte) {
    const Bytes expected = {0x00, 0xCC, 0x19, 0x0A, 0x00, 0x93, 0x22, 0x57, 0x41, 0x49, 0x54,
                            0x20, 0x31, 0x30,
                            0x22, //
                            0x00, 0xDD, 0x19, 0x1E, 0x00, 0x93, 0x22, 0x4D, 0x4F, 0x54, 0x4F,
                            0x52, 0x20, 0x31, 0x30, 0x30, 0x2C, 0x31, 0x30, 0x30, 0x22, //
                            0x00, 0x00, 0x00};
    const Bytes image =
        ImageOf({"10 REM \"WAIT 10\"", "20 REM \"REM L1\"", "30 REM \"MOTOR 100,100\""});
    EXPECT_EQ(image.size(), 39u);
    EXPECT_EQ(image, expected);
}

struct TLineCase {
    const char* Line;
    int Code;
};

TEST(ProgramImage, CheckLineCodes) {
    const TLineCase cases[] = {
        {"1 REM \"X", 1},           // 8 bytes
        {"1 REM \"X\"", 0},         // 9 bytes, the shortest acceptable line
        {"       1", 1},            // blanks count towards the length
        {"10 REM \"\xC7\xB0\"", 0}, // GBK bytes pass unchanged
        {"10     REM", 2},
        {"   10\t  REM   ", 2},      // blanks at either end make no token
        {"10 \"REM a b\"", 2},       // the quoted section is one token
        {"10 REM 'FD 100'", 5},      // single quotes are not a quoted text
        {"10 rem \"FD 100\"", 4},    // the keyword's case matters
        {"10 REMARK \"FD 100\"", 0}, // a longer keyword that begins with REM
        {"ten REM \"FD 100\"", 3},
        {"ten rem \"FD 100\"", 4}, // the last failing test gives the code
        {"ten rem 'FD 100'", 5},
        {"ten rem \"REM x\"", 6},
        {"10 REM \"FD 100\"", 0},
        {"10 REM \"FD 100\" trailing words", 0},
        {"10 REM \"PRINT \"\"A B\"\"\"", 0}, // doubled inner quotes
        {"10 REM \"PRINT \"A\"\"", 5},       // an undoubled inner quote
        {"10 REM \"\"", 5},                  // the empty quoted text
        {"10 REM \"\"\"\"", 0},              // a text of one double quote
        {"10 REM \"FD 100", 5},              // no closing quote: runs to the end
        {"10 REM \"REM \xBF\xAA\"", 6},      // a label definition
        {"10 REM \"REMARK\"", 6},
        {"10 REM \"rem x\"", 0},
        {"10 REM x\"a b\"y", 5}, // a quote opens mid-token
        {"10 REM \"a\"'b c'", 5},
        {"-5 REM \"FD 1\"", 0},
        {"+5 REM \"FD 1\"", 0},
        {"$1F REM \"FD 1\"", 0},
        {"0x1f REM \"FD 1\"", 0},
        {"X1F REM \"FD 1\"", 0},
        {"0x REM \"FD 1\"", 3},
        {"1.5 REM \"FD 1\"", 3},
        {"- REM \"FD 1\"", 3},
        {"2147483647 REM \"FD 1\"", 0},
        {"2147483648 REM \"FD 1\"", 3},
        {"-2147483648 REM \"FD 1\"", 0},
        {"-2147483649 REM \"FD 1\"", 3},
        {"$FFFFFFFF REM \"FD 1\"", 0},
        {"$100000000 REM \"FD 1\"", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckLine(c.Line), c.Code) << c.Line;
}

TEST(ProgramImage, IntegerValues) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"10", 10},        {"-10", -10}, {"$1F", 31},
        {"x1f", 31},       {"0X10", 16}, {"-$10", -16},
        {"$FFFFFFFF", -1}, {"007", 7},   {"-2147483648", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& [text, value] : cases) {
        std::int32_t parsed = 0;
        ASSERT_TRUE(ParseInteger(text, &parsed)) << text;
        EXPECT_EQ(parsed, value) << text;
    }
}

TEST(ProgramImage, SplitLineGivesNumberAndRequotedText) {
    std::int32_t number = 0;
    std::string text;
    EXPECT_EQ(SplitLine("  $20\tREM \"A \"\"B\"\"\" more", &number, &text), 0);
    EXPECT_EQ(number, 32);
    EXPECT_EQ(text, "\"A \"\"B\"\"\"");
    // The comment test is not SplitLine's.
    EXPECT_EQ(SplitLine("10 REM \"REM x\"", &number, &text), 0);
    EXPECT_EQ(text, "\"REM x\"");
}

TEST(ProgramImage, NoAcceptedLineGivesTheEndMarkOnly) {
    EXPECT_EQ(ImageOf({}), (Bytes{0, 0, 0}));
    EXPECT_EQ(ImageOf({"", "10 REM \"REM L1\"", "garbage", "10 rem \"FD 1\""}), (Bytes{0, 0, 0}));
}

TEST(ProgramImage, LineNumbersOutsideSixteenBitsAreRefusedNotWrapped) {
    // The bounds themselves fit.
    const Bytes image = ImageOf({"0 REM \"A\"", "65535 REM \"B\""});
    ASSERT_EQ(image.size(), 2 * 9 + 3u);
    EXPECT_EQ(image[3], 0x00);
    EXPECT_EQ(image[9 + 3], 0xFF);
    EXPECT_EQ(image[9 + 4], 0xFF);
    // Stored modulo 65536 they would make jumps land on another line.
    const struct {
        const char* Line;
        std::int32_t Number;
    } cases[] = {{"65536 REM \"A\"", 65536},
                 {"65546 REM \"A\"", 65546},
                 {"-2 REM \"B\"", -2},
                 {"$12345678 REM \"C\"", 0x12345678},
                 {"$FFFFFFFF REM \"D\"", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line);
        std::vector<std::uint8_t> buffer{1, 2, 3};
        try {
            BuildImageBytes({"10 REM \"X\"", "junk", c.Line}, buffer);
            ADD_FAILURE() << "accepted";
        } catch (const EImageError& e) {
            EXPECT_EQ(e.Kind, EImageError::TKind::LineNumberOutOfRange);
            EXPECT_EQ(e.LineNumber, c.Number);
            EXPECT_EQ(e.Row, 3u);
            EXPECT_TRUE(buffer.empty());
        }
    }
}

TEST(ProgramImage, ProgramLinesAreTheLinesTheCheckAccepts) {
    EXPECT_EQ(ProgramLineCount({}), 0u);
    EXPECT_EQ(ProgramLineCount({"<?xml version=\"1.0\"?>", "\xEF\xBB\xBF" "10 REM \"DEDEVAV\"", ""}),
              0u);
    EXPECT_EQ(ProgramLineCount({"10 REM \"DEDEVAV\"", "x", "20 REM \"FD 1\""}), 2u);
}

TEST(ProgramImage, AddressCounterSkipsCommentsAndWraps) {
    // 256-byte texts advance the counter by 258; after enough of them it
    // passes 65535 and starts again from the bottom.
    const std::string longText = "\"" + std::string(254, 'A') + "\"";
    std::vector<std::string> lines;
    for (int i = 0; i < 240; ++i) {
        lines.push_back(std::to_string(i * 10 + 10) + " REM " + longText);
        lines.push_back("5 REM \"REM skipped\"");
    }
    const Bytes image = ImageOf(lines);
    ASSERT_EQ(image.size(), 240 * 262 + 3u);
    std::uint32_t expected = ImageAddressStart;
    for (int i = 0; i < 240; ++i) {
        expected = (expected + 258) & 0xFFFF;
        const std::size_t at = std::size_t(i) * 262;
        EXPECT_EQ(image[at + 1] | (image[at + 2] << 8), int(expected)) << i;
    }
    EXPECT_LT(expected, ImageAddressStart); // it did wrap
}

TEST(ProgramImage, OverlongStatementRefusesTheImage) {
    const std::string text257 = "\"" + std::string(255, 'B') + "\"";
    Bytes buffer = {1, 2, 3};
    try {
        BuildImageBytes({"10 REM \"FD 1\"", "70 REM " + text257}, buffer);
        FAIL() << "no error";
    } catch (const EImageError& e) {
        EXPECT_EQ(e.Kind, EImageError::TKind::StatementTooLong);
        EXPECT_EQ(e.LineNumber, 70);
        EXPECT_EQ(e.Size, 257u);
    }
    EXPECT_TRUE(buffer.empty());
}

TEST(ProgramImage, ImageOver65535BytesIsRefused) {
    const std::string line = "10 REM \"" + std::string(254, 'C') + "\""; // record of 262 bytes
    EXPECT_EQ(ImageOf(std::vector<std::string>(250, line)).size(), 65503u);
    Bytes buffer;
    try {
        BuildImageBytes(std::vector<std::string>(251, line), buffer);
        FAIL() << "no error";
    } catch (const EImageError& e) {
        EXPECT_EQ(e.Kind, EImageError::TKind::ImageTooLong);
        EXPECT_EQ(e.Size, 251 * 262 + 3u);
    }
}

TEST(ProgramImage, BuildImageReplacesTheFileAndReportsWriteErrors) {
    const auto dir =
        std::filesystem::temp_directory_path() /
        ("dd_image_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "image.bin";
    {
        std::ofstream old(file, std::ios::binary);
        old << std::string(100, 'x');
    }
    Bytes buffer;
    BuildImage({"10 REM \"FD 1\""}, file.string(), buffer);
    std::ifstream in(file, std::ios::binary);
    const Bytes written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, buffer);
    EXPECT_EQ(written.size(), 15u);

    try {
        BuildImage({"10 REM \"FD 1\""}, dir.string(), buffer); // a directory
        FAIL() << "no error";
    } catch (const EImageError& e) {
        EXPECT_EQ(e.Kind, EImageError::TKind::WriteFailed);
    }
    std::filesystem::remove_all(dir);
}

} // namespace
