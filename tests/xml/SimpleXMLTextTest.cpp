// Integer reading, the entity routines and the file operations.

#include "xml/SimpleXML.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

TEST(SimpleXMLValues, Integers) {
    const struct {
        const char* Text;
        std::optional<int64_t> Expected;
    } cases[] = {
        {"0", 0},
        {"-1", -1},
        {"+7", 7},
        {"  42", 42},
        {"007", 7},
        {"$FF", 255},
        {"x1f", 31},
        {"X1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", 4294967295},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", std::nullopt},
        {"$10000000000000000", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"12 ", std::nullopt},
        {"\t5", std::nullopt},
        {"1.5", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"1e3", std::nullopt},
        {"- 1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SimpleXMLParseInt(c.Text), c.Expected) << '"' << c.Text << '"';
}

TEST(SimpleXMLEntities, Examples) {
    const struct {
        std::string Plain;
        std::string Encoded;
    } encodeCases[] = {
        {"a<b", "a&lt;b"},
        {"\"&'<>", "&quot;&amp;&apos;&lt;&gt;"},
        {"\xBF\xAA\xCA\xBC", "&#xBF;&#xAA;&#xCA;&#xBC;"}, // 开始 in GBK
        {std::string("\x01\x7F\x00", 3), std::string("\x01\x7F\x00", 3)},
    };
    for (const auto& c : encodeCases) {
        EXPECT_EQ(EncodeEntities(c.Plain), c.Encoded);
        EXPECT_EQ(DecodeEntities(c.Encoded), c.Plain);
    }
    const struct {
        const char* Encoded;
        std::string Decoded;
    } decodeCases[] = {
        {"&AMP;&#65;&#x41;&#;x", "&AA&#;x"},
        {"&amp;#65;", "&#65;"},
        {"&Lt;&GT;&aPoS;&QUOT;", "<>'\""},
        {"&#0;&#-5;&#x;&#65", "&#0;&#-5;&#x;&#65"},
        {"&#321;", "A"}, // the low eight bits
        {"&#xzz;&nbsp;&", "&#xzz;&nbsp;&"},
        {"&#xb1;&#XEA;", "\xB1\xEA"},
    };
    for (const auto& c : decodeCases)
        EXPECT_EQ(DecodeEntities(c.Encoded), c.Decoded) << c.Encoded;
}

TEST(SimpleXMLEntities, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string encoded = EncodeEntities(all);
    for (char c : encoded)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    EXPECT_EQ(encoded.find('<'), std::string::npos);
    EXPECT_EQ(DecodeEntities(encoded), all);
}

class SimpleXMLFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = std::filesystem::temp_directory_path() /
              ("dd_xml_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(Dir);
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    static std::string Slurp(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static std::string FileErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const EFileError& e) {
            return e.what();
        }
        return "(no error)";
    }

    std::filesystem::path Dir;
};

TEST_F(SimpleXMLFiles, WriteTruncatesAndReadsBack) {
    const std::string path = (Dir / "chart.rer").string();
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(1000, 'x');
    }
    TSimpleXML doc;
    doc.RootElem()->Rename("VAZIREZA");
    doc.RootElem()->Children().AddNamed("record").Children().AddText("sub", "\xD7\xD3");
    doc.WriteFile(path);
    EXPECT_EQ(Slurp(path), doc.WriteText());

    TSimpleXML loaded;
    loaded.ReadFile(path);
    EXPECT_EQ(loaded.WriteText(), doc.WriteText());
}

TEST_F(SimpleXMLFiles, ErrorsNameTheFileAndTheReason) {
    TSimpleXML doc;
    const std::string missing = (Dir / "missing.rer").string();
    const std::string noFolder = (Dir / "no" / "such.rer").string();
    const std::string folder = Dir.string();
    EXPECT_EQ(FileErrorOf([&] { doc.ReadFile(missing); }),
              "Cannot open file \"" + missing + "\". No such file or directory");
    EXPECT_EQ(FileErrorOf([&] { doc.ReadFile(folder); }),
              "Cannot open file \"" + folder + "\". Is a directory");
    EXPECT_EQ(FileErrorOf([&] { doc.WriteFile(noFolder); }),
              "Cannot create file \"" + noFolder + "\". No such file or directory");
    EXPECT_EQ(FileErrorOf([&] { doc.WriteFile(folder); }),
              "Cannot open file \"" + folder + "\". Is a directory");
}

TEST_F(SimpleXMLFiles, FailedWriteIsReported) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    TSimpleXML doc;
    doc.RootElem()->Rename("VAZIREZA");
    EXPECT_EQ(FileErrorOf([&] { doc.WriteFile("/dev/full"); }),
              "Cannot write file \"/dev/full\". No space left on device");
}

TEST_F(SimpleXMLFiles, ParseErrorOfAFilePassesThrough) {
    const std::string path = (Dir / "bad.rer").string();
    {
        std::ofstream bad(path, std::ios::binary);
        bad << "garbage";
    }
    TSimpleXML doc;
    EXPECT_THROW(doc.ReadFile(path), ESimpleXMLError);
}

} // namespace
