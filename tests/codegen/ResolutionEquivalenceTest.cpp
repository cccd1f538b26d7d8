// The compile resolves names line by line, visiting only the names a line
// contains. This test holds it to the rule run literally: a table of
// NAME=INDEX texts, every entry replaced in every line, over random charts
// built from names chosen to collide (prefixes of each other, equal but for
// case, empty, holding "=", quotes, double-byte characters or the other
// prefix).

#include "codegen/BuildListing.h"

#include "CodegenTestSupport.h"
#include "codegen/TranslateBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

namespace {

using namespace codegen_test;
using TLines = std::vector<std::string>;

std::string RefQuote(const std::string& s) {
    std::string out = "\"";
    for (char c : s)
        out += (c == '"') ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string RefDequote(const std::string& s) {
    if (s.empty() || s[0] != '"')
        return s;
    std::string out;
    size_t i = 1;
    while (i < s.size()) {
        if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
                out += '"';
                i += 2;
                continue;
            }
            break;
        }
        out += s[i++];
    }
    return out.empty() ? s : out;
}

bool RefContinuesName(unsigned char c) {
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

// ASCII letters without case; a double-byte character's two bytes as they are.
std::string RefFold(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) {
            out += s.substr(i, 2);
            ++i;
        } else {
            out += static_cast<char>(std::toupper(c));
        }
    }
    return out;
}

std::string NamePart(const std::string& entry) {
    return entry.substr(0, entry.rfind('='));
}

size_t FirstWholeOccurrence(const std::string& line, const std::string& name) {
    for (size_t pos = line.find(name); pos != std::string::npos; pos = line.find(name, pos + 1)) {
        const size_t end = pos + name.size();
        if (end == line.size() || !RefContinuesName(static_cast<unsigned char>(line[end])))
            return pos;
    }
    return std::string::npos;
}

TLines ReferenceListing(const std::vector<TListingBlock>& blocks) {
    TSimpleXML scratch;
    TLines pane{RefQuote("DEDEVAV")};
    TLines buffer;
    for (const auto& b : blocks) {
        TranslateBlock(b.TagCode, b.DataText, scratch, buffer);
        pane.insert(pane.end(), buffer.begin(), buffer.end());
    }
    const auto table = [&](const std::string& prefix) {
        TLines entries;
        for (size_t i = 0; i < pane.size(); ++i) {
            const std::string d = RefDequote(pane[i]);
            if (d.compare(0, prefix.size(), prefix) == 0)
                entries.push_back(d + "=" + std::to_string(i));
        }
        std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
            return NamePart(a).size() > NamePart(b).size();
        });
        return entries;
    };
    const auto resolve = [&](const TLines& entries) {
        for (const auto& entry : entries) {
            const std::string name = NamePart(entry);
            const auto first = std::find_if(entries.begin(), entries.end(), [&](const auto& e) {
                return RefFold(NamePart(e)) == RefFold(name);
            });
            const std::string number =
                std::to_string((std::stoi(first->substr(first->rfind('=') + 1)) + 1) * 10);
            for (auto& line : pane) {
                std::string d = RefDequote(line);
                const size_t pos = FirstWholeOccurrence(d, name);
                if (pos != std::string::npos && pos >= 2) {
                    d.replace(pos, name.size(), number);
                    line = RefQuote(d);
                }
            }
        }
    };
    const TLines labels = table("label: ");
    const TLines subs = table("sub: ");
    resolve(labels);
    resolve(subs);
    TLines listing;
    for (size_t i = 0; i < pane.size(); ++i) {
        const std::string& p = pane[i];
        std::string statement = p;
        if (p.compare(0, 8, "\"label: ") == 0)
            statement = "\"REM " + p.substr(8);
        else if (p.compare(0, 6, "\"sub: ") == 0)
            statement = "\"REM " + p.substr(6);
        listing.push_back(std::to_string((i + 1) * 10) + " REM " + statement);
    }
    return listing;
}

class TRandomChart {
public:
    explicit TRandomChart(uint32_t seed) : Random(seed) {}

    std::vector<TListingBlock> Make() {
        std::vector<TListingBlock> chain;
        // Long charts now and then, so that tables of many equal-length names
        // are sorted too.
        const int length = (Pick(0, 9) == 0) ? Pick(40, 150) : Pick(1, 40);
        for (int i = 0; i < length; ++i)
            chain.push_back(MakeBlock());
        return chain;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    template <typename T> const T& OneOf(const std::vector<T>& items) {
        return items[static_cast<size_t>(Pick(0, static_cast<int>(items.size()) - 1))];
    }

    const std::vector<std::string> LabelNames = {"",
                                                 "L",
                                                 "L1",
                                                 "L10",
                                                 "l1",
                                                 "L1 ",
                                                 " L1",
                                                 "A=B",
                                                 "=",
                                                 "=1",
                                                 "1",
                                                 "10",
                                                 "30",
                                                 "\xBF\xAA" /* 开 */,
                                                 "\xBF\xAA\xCA\xBC" /* 开始 */,
                                                 "\x81\x41",
                                                 "\x81\x61",
                                                 "label: L1",
                                                 "label: ",
                                                 "sub: S1",
                                                 "\"q\"",
                                                 "L1\xBF\xAA",
                                                 "L1_",
                                                 "L1,L"};
    // Subroutine names are stored unescaped, so none holds "<".
    const std::vector<std::string> SubNames = {
        "",       "S",         "S1",  "S10", "s1", "S=1", "\xD7\xD3" /* 子 */,
        "sub: S", "label: L1", "S1 ", "&",   "\"", "10"};

    std::string Reference() {
        if (Pick(0, 1) == 0)
            return "label: " + OneOf(LabelNames);
        return "sub: " + OneOf(SubNames);
    }

    // Expression lines mix references with text that may join onto them.
    std::string Command() {
        const std::vector<std::string> glue = {"",   " ", ",",       "GOTO ", "0",    "X",
                                               "\"", "=", "label: ", "sub: ", "\xBF", "\x80"};
        std::string s;
        // Now and then a line crowded with references.
        const int parts = (Pick(0, 9) == 0) ? Pick(10, 30) : Pick(1, 5);
        for (int i = 0; i < parts; ++i)
            s += (Pick(0, 2) == 0) ? OneOf(glue) : Reference();
        return s;
    }

    TListingBlock MakeBlock() {
        switch (Pick(0, 10)) {
        case 0:
        case 1:
            return Label(OneOf(LabelNames));
        case 2:
            return Goto(OneOf(LabelNames));
        case 3:
            return GotoIf(Pick(0, 1) ? "A>3" : Reference(), OneOf(LabelNames));
        case 4:
        case 5:
            return Expression(Command());
        case 6:
            return SubStart(OneOf(SubNames));
        case 7:
            return SubCall(OneOf(SubNames));
        case 8:
            return Block(6, {{"key", "1"}, {"keycmd", Pick(0, 1) ? "-1" : "0"}, {"content", "C4"}});
        case 9:
            return Block(Pick(7, 8));
        default:
            return Block(5, {{"wait", std::to_string(Pick(0, 300))}});
        }
    }

    std::mt19937 Random;
};

TEST(ResolutionEquivalence, RandomChartsGiveTheReferenceListing) {
    TSimpleXML scratch;
    for (uint32_t seed = 1; seed <= 3000; ++seed) {
        const auto chain = TRandomChart(seed).Make();
        TLines lines;
        BuildListing(chain, scratch, lines);
        const TLines expected = ReferenceListing(chain);
        ASSERT_EQ(lines, expected) << "seed " << seed;
    }
}

} // namespace
