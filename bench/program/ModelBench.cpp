// Edits of long programs as the window makes them: each goes through the
// document's undo stack, changes the model, and the chain patches and lays
// out the canvas from the notification; the shown canvas then paints the
// frame that follows. Every iteration puts the chart back to its size, so a
// figure does not drift with the length of the run.

#include "blocks/BlockCatalogue.h"
#include "chart/FlowChart.h"
#include "chart/ProgramChain.h"
#include "document/TDocument.h"
#include "xml/SimpleXML.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int RangeBlocks = 1000;

std::vector<int> RecordKinds() {
    std::vector<int> kinds;
    for (const TBlockKind& kind : BlockCatalogue())
        if (kind.HasRecord())
            kinds.push_back(kind.Kind);
    return kinds;
}

// Every kind with a record in turn; labels, jumps and calls carry names so
// that they show a value on the canvas, as in a pupil's real program.
std::vector<std::pair<int, std::string>> MixedBlocks(int count, int salt = 0) {
    static const std::vector<int> kinds = RecordKinds();
    TSimpleXML scratch;
    std::vector<std::pair<int, std::string>> blocks;
    blocks.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const int kind = kinds[size_t(i + salt) % kinds.size()];
        TRecordValues values(kind);
        if (kind == 11 || kind == 12 || kind == 13)
            values.SetText("label", "L" + std::to_string(i % 1000));
        blocks.emplace_back(kind, BuildRecord(scratch, kind, values));
    }
    return blocks;
}

// The same block with its first parameter changed, as a dialog's OK gives
// it; a kind without parameters keeps its record.
std::string EditedRecord(TSimpleXML& scratch, const TProgramBlock& block, int i) {
    TRecordValues values(block.Kind);
    const TBlockKind& kind = values.KindInfo();
    if (kind.Fields.empty())
        return block.Record;
    const TRecordField& field = kind.Fields.front();
    switch (field.Type) {
    case TFieldType::Integer:
        values.SetInt(field.Name, values.Int(field.Name) == 7 ? 8 : 7);
        break;
    case TFieldType::Boolean:
        values.SetBool(field.Name, !values.Bool(field.Name));
        break;
    case TFieldType::EscapedText:
    case TFieldType::PlainText:
        values.SetText(field.Name, "E" + std::to_string(i));
        break;
    }
    return BuildRecord(scratch, block.Kind, values);
}

// A shown canvas of the main window's size with a document of n mixed blocks,
// its undo stack empty, as after opening a file.
struct TBenchDocument {
    TSimpleXML Scratch;
    TFlowChart Chart;
    TProgramChain Chain{&Chart, &Scratch};
    TDocument Document{Chain, Scratch, nullptr, nullptr};

    explicit TBenchDocument(int blocks) {
        Chart.resize(282, 400);
        Chart.SetColor(clSkyBlue);
        Chart.show();
        Document.Program().Reset(MixedBlocks(blocks));
        Document.UndoStack().clear();
        QApplication::processEvents();
    }

    TProgram& Program() { return Document.Program(); }
    QUndoStack& Stack() { return Document.UndoStack(); }

    void SetCounters(benchmark::State& state) {
        state.counters["blocks"] = double(Program().Count());
        state.counters["objects"] = double(Chart.ObjectCount());
    }
};

// The frame the edit leads to: the repaint it asked for and any deferred
// extent pass run here.
void Frame() {
    QApplication::processEvents();
}

std::vector<TProgramBlock> NewBlocks(const std::vector<std::pair<int, std::string>>& source) {
    std::vector<TProgramBlock> blocks;
    blocks.reserve(source.size());
    for (const auto& [kind, record] : source)
        blocks.push_back({0, kind, record});
    return blocks;
}

void BM_InsertBlock(benchmark::State& state) {
    TBenchDocument bench(int(state.range(0)));
    const std::size_t middle = bench.Program().Count() / 2;
    const auto one = MixedBlocks(1, 3);
    for (auto _ : state) {
        bench.Document.InsertBlocks(middle, NewBlocks(one), u"插入"_s);
        Frame();
        state.PauseTiming();
        bench.Stack().undo();
        Frame();
        state.ResumeTiming();
    }
    bench.SetCounters(state);
}

void BM_UndoInsertBlock(benchmark::State& state) {
    TBenchDocument bench(int(state.range(0)));
    const std::size_t middle = bench.Program().Count() / 2;
    bench.Document.InsertBlocks(middle, NewBlocks(MixedBlocks(1, 3)), u"插入"_s);
    Frame();
    for (auto _ : state) {
        bench.Stack().undo();
        Frame();
        state.PauseTiming();
        bench.Stack().redo();
        Frame();
        state.ResumeTiming();
    }
    bench.SetCounters(state);
}

void BM_RedoInsertBlock(benchmark::State& state) {
    TBenchDocument bench(int(state.range(0)));
    const std::size_t middle = bench.Program().Count() / 2;
    bench.Document.InsertBlocks(middle, NewBlocks(MixedBlocks(1, 3)), u"插入"_s);
    bench.Stack().undo();
    Frame();
    for (auto _ : state) {
        bench.Stack().redo();
        Frame();
        state.PauseTiming();
        bench.Stack().undo();
        Frame();
        state.ResumeTiming();
    }
    bench.SetCounters(state);
}

// A range from the middle moved up by a quarter of the program: everything
// from the range's new place to the end moves on the canvas.
void BM_MoveRange(benchmark::State& state) {
    TBenchDocument bench(int(state.range(0)));
    const std::size_t count = bench.Program().Count();
    for (auto _ : state) {
        bench.Document.MoveBlocks(count / 2, RangeBlocks, count / 4);
        Frame();
        state.PauseTiming();
        bench.Stack().undo();
        Frame();
        state.ResumeTiming();
    }
    bench.SetCounters(state);
}

void BM_PasteBlocks(benchmark::State& state) {
    TBenchDocument bench(int(state.range(0)));
    const std::size_t middle = bench.Program().Count() / 2;
    const auto pasted = MixedBlocks(RangeBlocks, 5);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<TProgramBlock> blocks = NewBlocks(pasted);
        state.ResumeTiming();
        bench.Document.InsertBlocks(middle, std::move(blocks), u"粘贴"_s);
        Frame();
        state.PauseTiming();
        bench.Stack().undo();
        Frame();
        state.ResumeTiming();
    }
    bench.SetCounters(state);
}

// One dialog's OK: the record and the block's text change in place. A label
// near the middle, so that its text changes at every size.
void BM_EditRecord(benchmark::State& state) {
    TBenchDocument bench(int(state.range(0)));
    TSimpleXML scratch;
    std::size_t middle = bench.Program().Count() / 2;
    while (bench.Program().At(middle).Kind != 11)
        ++middle;
    const std::string edited = EditedRecord(scratch, bench.Program().At(middle), 1);
    for (auto _ : state) {
        bench.Document.EditRecord(middle, edited);
        Frame();
        state.PauseTiming();
        bench.Stack().undo();
        Frame();
        state.ResumeTiming();
    }
    bench.SetCounters(state);
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// An undo stack of `edits` single-block edits on a program of n blocks:
// every block that has parameters is edited once, and then again back to
// its old record until the count is reached. stack_MB is what the stack
// itself holds (the heap in use with it, less the heap in use once it is
// cleared); the time is that of the edits.
void BM_UndoStackOfEdits(benchmark::State& state) {
    const int blocks = int(state.range(0));
    const auto edits = std::size_t(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<TBenchDocument>(blocks);
        TSimpleXML scratch;
        std::vector<std::pair<std::size_t, std::string>> plan;
        plan.reserve(edits);
        std::vector<std::size_t> editable;
        for (std::size_t i = 0; i < bench->Program().Count(); ++i)
            if (!FindBlockKind(bench->Program().At(i).Kind)->Fields.empty())
                editable.push_back(i);
        for (std::size_t k = 0; k < edits; ++k) {
            const std::size_t at = editable[k % editable.size()];
            const TProgramBlock& block = bench->Program().At(at);
            plan.emplace_back(at, (k / editable.size()) % 2 == 0
                                      ? EditedRecord(scratch, block, int(k))
                                      : block.Record);
        }
        malloc_trim(0);
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        for (auto& [at, record] : plan)
            bench->Document.EditRecord(at, std::move(record));
        Frame();
        state.PauseTiming();
        const std::size_t withStack = HeapInUse();
        const int commands = bench->Stack().count();
        bench->Stack().clear();
        const std::size_t cleared = HeapInUse();
        state.counters["commands"] = commands;
        state.counters["stack_MB"] = (double(withStack) - double(cleared)) / 1e6;
        state.counters["grown_MB"] = (double(withStack) - double(before)) / 1e6;
        state.counters["bytes_per_edit"] = (double(withStack) - double(cleared)) / commands;
        bench.reset();
        state.ResumeTiming();
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_InsertBlock)->Apply(Sizes);
BENCHMARK(BM_UndoInsertBlock)->Apply(Sizes);
BENCHMARK(BM_RedoInsertBlock)->Apply(Sizes);
BENCHMARK(BM_MoveRange)->Apply(Sizes);
BENCHMARK(BM_PasteBlocks)->Apply(Sizes);
BENCHMARK(BM_EditRecord)->Apply(Sizes);
BENCHMARK(BM_UndoStackOfEdits)->Args({10000, 10000})->Iterations(1)->Unit(benchmark::kMillisecond);

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
