#include "gbk/GbkText.h"

#include <gtest/gtest.h>

namespace {

TEST(GbkText, MixedAsciiAndChineseRoundTrip) {
    const QString text = u"FD 100 前进一段时间 标号:开始"_qs;
    const auto bytes = GbkEncode(text);
    ASSERT_TRUE(bytes);
    // 开 is B F 2 AA in GBK: check one known pair so the codec is really GBK.
    EXPECT_NE(bytes->find("\xBF\xAA"), std::string::npos);
    EXPECT_EQ(GbkDecode(*bytes), text);
}

TEST(GbkText, EverySingleByteSurvivesDecodeThenEncode) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, char(b));
        const auto back = GbkEncode(GbkDecode(one));
        ASSERT_TRUE(back) << b;
        EXPECT_EQ(*back, one) << b;
    }
}

TEST(GbkText, EveryPairAndTruncatedPairSurvives) {
    // All lead/trail combinations, and each lead byte left dangling at the end
    // or followed by a byte that cannot trail.
    for (int lead = 0x80; lead < 0x100; ++lead) {
        std::string all;
        for (int trail = 0; trail < 0x100; ++trail) {
            all.push_back(char(lead));
            all.push_back(char(trail));
        }
        all.push_back(char(lead));
        const auto back = GbkEncode(GbkDecode(all));
        ASSERT_TRUE(back) << lead;
        EXPECT_EQ(*back, all) << lead;
    }
}

TEST(GbkText, InvalidBytesAreEscapesNotPrivateUseCharacters) {
    const QString decoded = GbkDecode("\xFF");
    ASSERT_EQ(decoded.size(), 1);
    EXPECT_EQ(decoded.at(0).unicode(), 0xDCFF);
}

TEST(GbkText, CharactersWithoutGbkFormAreRefused) {
    struct Case {
        QString text;
        qsizetype badIndex;
    };
    const Case cases[] = {
        {u"ab😀"_qs, 2},                        // emoji: a surrogate pair
        {u"x\u0E01"_qs, 1},                    // Thai letter
        {QString(QChar(char16_t(0xD800))), 0}, // lone high surrogate
        {u"前进\uFFFD"_qs, 2},                 // the replacement character itself
    };
    for (const Case& c : cases) {
        qsizetype bad = -7;
        EXPECT_FALSE(GbkEncode(c.text, &bad)) << c.text.toStdString();
        EXPECT_EQ(bad, c.badIndex) << c.text.toStdString();
        EXPECT_EQ(GbkFirstUnrepresentable(c.text), c.badIndex);
    }
    EXPECT_EQ(GbkFirstUnrepresentable(u"开始"_qs), -1);
}

} // namespace
