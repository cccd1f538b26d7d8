// Loading a flowchart file of n blocks of every kind, with the chain rebuilt
// and laid out, as the Open command does.

#include "blocks/BlockCatalogue.h"
#include "chart/FlowChart.h"
#include "chart/ProgramChain.h"
#include "document/FlowchartFile.h"
#include "document/TDocument.h"
#include "xml/SimpleXML.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString WriteChart(const QString& dir, int blocks) {
    TSimpleXML scratch, doc;
    std::vector<std::string> records;
    std::vector<int> kinds;
    for (const TBlockKind& kind : BlockCatalogue())
        if (kind.HasRecord())
            kinds.push_back(kind.Kind);
    for (int i = 0; i < blocks; ++i) {
        const int kind = kinds[size_t(i) % kinds.size()];
        TRecordValues values(kind);
        if (kind == 11 || kind == 12 || kind == 13)
            values.SetText("label", "L" + std::to_string(i % 1000));
        records.push_back(BuildRecord(scratch, kind, values));
    }
    BuildFileTree(doc, scratch, records);
    const QString path = dir + QStringLiteral("/chart%1.rer").arg(blocks);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const std::string text = doc.WriteText();
    file.write(text.data(), qint64(text.size()));
    return path;
}

void BM_LoadDocument(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = WriteChart(dir.path(), int(state.range(0)));
    TFlowChart chart;
    chart.resize(282, 400);
    TSimpleXML scratch;
    TProgramChain chain(&chart, &scratch);
    chain.BuildInitialChain();
    TDocument document(chain, scratch, nullptr, nullptr);
    for (auto _ : state) {
        document.LoadDocument(path);
        benchmark::DoNotOptimize(chain.Count());
    }
    state.counters["blocks"] = double(chain.BlockObjects().size());
}
BENCHMARK(BM_LoadDocument)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
