// Compiling a large chart: one block in ten a label, one in ten a jump to a
// random label, the rest the everyday motion, sound, sensor and expression
// blocks. Records are printed by the XML tree as the editor stores them.

#include "blocks/BlockCatalogue.h"
#include "codegen/BuildListing.h"
#include "xml/SimpleXML.h"

#include <benchmark/benchmark.h>

#include <random>
#include <utility>
#include <vector>

namespace {

using enum TKindId;
using TFields = std::vector<std::pair<std::string, std::string>>;

TListingBlock Block(TSimpleXML& doc, TKindId kind, const TFields& fields) {
    doc.RootElem()->ClearContent();
    doc.RootElem()->Rename("CtrlNode");
    doc.RootElem()->Attributes().AddInt("type", KindNumber(kind));
    for (const auto& [name, value] : fields)
        doc.RootElem()->Children().AddText(name, value);
    return TListingBlock{TagCodeOf(kind), doc.WriteText()};
}

std::string LabelName(int i) {
    // Half of the names Chinese (点 and a number), stored escaped as typed.
    return (i % 2 == 0) ? "L" + std::to_string(i) : EncodeEntities("\xB5\xE3" + std::to_string(i));
}

std::vector<TListingBlock> MakeChart(int blocks) {
    const int labels = blocks / 10;
    std::mt19937 random(12345);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    TSimpleXML doc;
    std::vector<TListingBlock> chart;
    chart.reserve(static_cast<size_t>(blocks));
    for (int i = 0; i < blocks; ++i) {
        const std::string target = LabelName(pick(labels));
        switch (i % 10) {
        case 0:
            chart.push_back(Block(doc, GOTOBegin, {{"label", LabelName(i / 10)}}));
            break;
        case 5:
            if (pick(2) == 0)
                chart.push_back(Block(doc, GOTOEnd, {{"label", target}}));
            else
                chart.push_back(Block(doc, GOTOIF, {{"condition", "A&gt;3"}, {"label", target}}));
            break;
        case 1:
            chart.push_back(
                Block(doc, ZhiXing, {{"mode", "2"}, {"wait", std::to_string(pick(500))}}));
            break;
        case 2:
            chart.push_back(
                Block(doc, ZhuanXiang, {{"mode", std::to_string(pick(4))}, {"wait", "90"}}));
            break;
        case 3:
            chart.push_back(
                Block(doc, FaYin, {{"key", "2"}, {"keycmd", "-1"}, {"content", "C4D4E4F4"}}));
            break;
        case 4:
            chart.push_back(Block(doc, AIN, {{"var", "0"}, {"index", "3"}}));
            break;
        case 6:
            chart.push_back(Block(doc, BiaoDaShi, {{"command", "A=A+B*2"}}));
            break;
        case 7:
            chart.push_back(Block(doc, Servo,
                                  {{"data1", "9"},
                                   {"data2", "9"},
                                   {"data3", "4"},
                                   {"data4", "9"},
                                   {"data5", "12"},
                                   {"speed", "3"}}));
            break;
        case 8:
            chart.push_back(Block(doc, YanShi, {{"wait", "100"}}));
            break;
        default:
            chart.push_back(Block(doc, LED, {{"led", "5"}}));
            break;
        }
    }
    return chart;
}

void BM_BuildListing(benchmark::State& state) {
    const auto chart = MakeChart(static_cast<int>(state.range(0)));
    TSimpleXML scratch;
    std::vector<std::string> lines;
    for (auto _ : state) {
        BuildListing(chart, scratch, lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}

BENCHMARK(BM_BuildListing)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Expression lines that each hold forty references: the resolver replays such
// lines entry by entry, which is what the plain rule costs.
void BM_BuildListingCrowdedLines(benchmark::State& state) {
    TSimpleXML doc;
    std::vector<TListingBlock> chart;
    for (int i = 0; i < 1000; ++i)
        chart.push_back(Block(doc, GOTOBegin, {{"label", LabelName(i)}}));
    std::mt19937 random(777);
    for (int i = 0; i < 200; ++i) {
        std::string command = "ON A GOTO ";
        for (int r = 0; r < 40; ++r)
            command += (r ? ",label: " : "label: ") + LabelName(static_cast<int>(random() % 1000));
        chart.push_back(Block(doc, BiaoDaShi, {{"command", command}}));
    }
    TSimpleXML scratch;
    std::vector<std::string> lines;
    for (auto _ : state) {
        BuildListing(chart, scratch, lines);
        benchmark::DoNotOptimize(lines.data());
    }
}

BENCHMARK(BM_BuildListingCrowdedLines)->Unit(benchmark::kMillisecond);

} // namespace
