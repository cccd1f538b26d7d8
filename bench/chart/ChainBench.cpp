// Costs that grow with the length of the program: inserting a block near the
// top (the whole chain below moves) and repainting the visible canvas.

#include "chart/FlowChart.h"
#include "chart/NormalSpot.h"
#include "chart/ProgramChain.h"
#include "xml/SimpleXML.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace {

// A shown canvas of the main window's size holding a chain of n blocks.
struct TBenchChart {
    TSimpleXML Scratch;
    TFlowChart Chart;
    TProgramChain Chain{&Chart, &Scratch};

    explicit TBenchChart(int blocks) {
        Chart.resize(282, 400);
        Chart.SetColor(clSkyBlue);
        Chart.show();
        Chain.BuildInitialChain();
        Chart.BeginUpdate();
        for (int i = 0; i < blocks; ++i)
            Chain.AppendBlock(1 + i % 6);
        Chain.Relayout();
        Chart.EndUpdate();
        QApplication::processEvents();
    }
    TFcObject* FirstMarker() const { return static_cast<TNormalSpot*>(Chain.At(1))->Marker; }
};

void BM_InsertAfterFirstSpot(benchmark::State& state) {
    TBenchChart bench(int(state.range(0)));
    for (auto _ : state) {
        bench.Chart.SetSelection(bench.FirstMarker());
        bench.Chain.InsertBlock(1);
        benchmark::DoNotOptimize(bench.Chart.Selection());
    }
    state.counters["blocks"] = double(bench.Chain.BlockObjects().size());
}

void BM_RepaintVisibleArea(benchmark::State& state) {
    TBenchChart bench(int(state.range(0)));
    QScrollBar* bar = bench.Chart.verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    QImage image(bench.Chart.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        bench.Chart.viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_FreeChain(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<TBenchChart>(int(state.range(0)));
        state.ResumeTiming();
        bench->Chain.FreeChain();
        QApplication::processEvents();
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_InsertAfterFirstSpot)
    ->Arg(10000)
    ->Arg(20000)
    ->Iterations(40)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintVisibleArea)
    ->Arg(10000)
    ->Arg(20000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeChain)->Arg(10000)->Arg(20000)->Iterations(3)->Unit(benchmark::kMillisecond);

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
