// The chart's edits on the undo stack: every step can be taken back and done
// again, the canvas always shows the program, and "modified" means what it
// always meant: saving would write other bytes than the last New, Save or
// Open.

#include "blocks/BlockCatalogue.h"
#include "chart/FlowChart.h"
#include "chart/ChainPanel.h"
#include "chart/ProgramChain.h"
#include "document/TDocument.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

using namespace Qt::StringLiterals;

namespace {

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

class ProgramCommands : public ::testing::Test {
protected:
    void SetUp() override {
        chain.BuildInitialChain();
        doc.SetPhraseSource([] { return QStringList{u"0.Dabo(*)"_s, u"1.前进"_s}; });
    }

    std::vector<int> Kinds() const {
        std::vector<int> kinds;
        for (const TBlockKind& kind : BlockCatalogue())
            if (kind.HasRecord())
                kinds.push_back(kind.Kind);
        return kinds;
    }

    TProgramBlock NewBlock(int kind) { return {0, kind, BuildDefaultRecord(scratch, kind)}; }

    // The record of kind with its first field changed, so that edits change
    // what the block shows where the kind shows a value.
    std::string EditedRecord(int kind, int step) {
        const TBlockKind* info = FindBlockKind(kind);
        TRecordValues values = ReadRecord(scratch, BuildDefaultRecord(scratch, kind), kind);
        if (!info->Fields.empty()) {
            const TRecordField& field = info->Fields.front();
            switch (field.Type) {
            case TFieldType::Integer:
                values.SetInt(field.Name, step % 7);
                break;
            case TFieldType::Boolean:
                values.SetBool(field.Name, step % 2 == 0);
                break;
            default:
                values.SetText(field.Name, step % 5 == 0 ? std::string() : "L" + std::to_string(step));
            }
        }
        return BuildRecord(scratch, kind, values);
    }

    // The canvas shows the model: order, kinds, records, texts, heights and
    // a gapless column.
    void ExpectCanvasShowsModel(int step) {
        const TProgram& program = doc.Program();
        ASSERT_EQ(chain.Count(), int(3 + 2 * program.Count())) << "step " << step;
        ASSERT_EQ(chain.BlockObjects().size(), program.Count());
        for (std::size_t i = 0; i < program.Count(); ++i) {
            const TProgramBlock& block = program.At(i);
            const TFcObject* object = chain.BlockObjectAt(i);
            ASSERT_NE(object, nullptr);
            ASSERT_EQ(object->TagCode, TagBlockBase + block.Kind) << "step " << step << " @" << i;
            ASSERT_EQ(object->DataText, block.Record) << "step " << step << " @" << i;
            // What a record shows is read once per record text.
            auto known = Shown.find(block.Record);
            if (known == Shown.end())
                known = Shown.emplace(block.Record, chain.ValueOf(block)).first;
            const QString& value = known->second;
            const TBlockKind* kind = FindBlockKind(block.Kind);
            if (!kind->ChartPrefix.empty() && !value.isEmpty()) {
                ASSERT_EQ(object->Text(), QString::fromUtf8(kind->ChartPrefix.data(),
                                                             qsizetype(kind->ChartPrefix.size())) +
                                              value)
                    << "step " << step;
                ASSERT_EQ(object->Height(), 40) << "step " << step;
            } else {
                ASSERT_EQ(object->Text(), QString::fromUtf8(kind->Caption.data(),
                                                             qsizetype(kind->Caption.size())))
                    << "step " << step;
                ASSERT_EQ(object->Height(), 32) << "step " << step;
            }
        }
        int32_t y = 16;
        for (int i = 0; i < chain.Count(); ++i) {
            const TChainElement* e = chain.At(i);
            const int32_t h = chain.ElementHeight(e);
            if (e->ElementKind() != TChainElementKind::Spot) {
                const auto* panel = static_cast<const TChainPanel*>(e);
                ASSERT_EQ(panel->ChartObject->Top(), y) << "step " << step << " element " << i;
            }
            y += h;
        }
    }

    std::unordered_map<std::string, QString> Shown;
    QTemporaryDir dir;
    QWidget window;
    TFlowChart chart;
    TSimpleXML scratch;
    TProgramChain chain{&chart, &scratch};
    QPlainTextEdit pane;
    TDocument doc{chain, scratch, &window, &pane};
};

TEST_F(ProgramCommands, TenThousandRandomEditsUndoToTheStartAndRedoToTheEnd) {
    std::mt19937 random(20261211);
    const std::vector<int> kinds = Kinds();
    const auto anyKind = [&] { return kinds[random() % kinds.size()]; };
    std::vector<std::pair<int, std::string>> start;
    for (int i = 0; i < 12; ++i) {
        const int kind = anyKind();
        start.emplace_back(kind, EditedRecord(kind, i));
    }
    doc.Program().Reset(start);
    const QString first = dir.filePath(u"start.rer"_s);
    doc.SaveDocument(first);
    QUndoStack& stack = doc.UndoStack();

    for (int step = 0; step < 10000; ++step) {
        const std::size_t n = doc.Program().Count();
        const auto range = [&](std::size_t& from, std::size_t& count) {
            from = random() % n;
            count = 1 + random() % std::min<std::size_t>(4, n - from);
        };
        const unsigned choice = random() % 100;
        if (choice < 12 && stack.canUndo()) {
            stack.undo();
        } else if (choice < 20 && stack.canRedo()) {
            stack.redo();
        } else if (n == 0 || (choice < 40 && n < 200)) {
            doc.InsertBlocks(random() % (n + 1), {NewBlock(anyKind())}, u"插入"_s);
        } else if (choice < 55 || n >= 200) {
            std::size_t from = 0, count = 0;
            range(from, count);
            doc.RemoveBlocks(from, count, u"删除"_s);
        } else if (choice < 75) {
            const std::size_t at = random() % n;
            doc.EditRecord(at, EditedRecord(doc.Program().At(at).Kind, step));
        } else if (choice < 87) {
            std::size_t from = 0, count = 0;
            range(from, count);
            doc.MoveBlocks(from, count, random() % (n - count + 1));
        } else {
            // Paste or duplicate: copies of a range, with ids of their own.
            std::size_t from = 0, count = 0;
            range(from, count);
            std::vector<TProgramBlock> copies;
            for (std::size_t i = from; i < from + count; ++i)
                copies.push_back({0, doc.Program().At(i).Kind, doc.Program().At(i).Record});
            const bool duplicate = choice % 2 == 0;
            doc.InsertBlocks(duplicate ? from + count : random() % (n + 1), std::move(copies),
                             duplicate ? u"复制"_s : u"粘贴"_s);
        }
        ExpectCanvasShowsModel(step);
        if (HasFatalFailure())
            return;
    }
    const QString last = dir.filePath(u"end.rer"_s);
    doc.SaveDocument(last);
    const QByteArray endBytes = FileBytes(last);

    while (stack.canUndo())
        stack.undo();
    ExpectCanvasShowsModel(-1);
    const QString undone = dir.filePath(u"undone.rer"_s);
    doc.SaveDocument(undone);
    EXPECT_EQ(FileBytes(undone), FileBytes(first));

    while (stack.canRedo())
        stack.redo();
    ExpectCanvasShowsModel(-2);
    const QString redone = dir.filePath(u"redone.rer"_s);
    doc.SaveDocument(redone);
    EXPECT_EQ(FileBytes(redone), endBytes);
}

TEST_F(ProgramCommands, UndoBackToTheSavedChartIsUnmodified) {
    doc.SaveDocument(dir.filePath(u"a.rer"_s));
    doc.InsertBlocks(0, {NewBlock(1)}, u"插入"_s);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(window.isWindowModified()); // the caption's [*]
    EXPECT_TRUE(window.windowTitle().endsWith(u" - a.rer[*]"_s));
    EXPECT_EQ(doc.UndoStack().undoText(), u"插入“直行”"_s);
    doc.UndoStack().undo();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(window.isWindowModified());
    doc.UndoStack().redo();
    doc.RemoveBlocks(0, 1, u"删除"_s);
    EXPECT_FALSE(doc.IsModified()); // insert, then delete
    doc.InsertBlocks(0, {NewBlock(1), NewBlock(2)}, u"粘贴"_s);
    EXPECT_EQ(doc.UndoStack().undoText(), u"粘贴 2 个模块"_s);
}

TEST_F(ProgramCommands, EditsThatChangeNothingPushNothing) {
    doc.InsertBlocks(0, {NewBlock(1), NewBlock(2)}, u"插入"_s);
    const int count = doc.UndoStack().count();
    doc.EditRecord(0, doc.Program().At(0).Record);
    doc.MoveBlocks(1, 1, 1);
    doc.InsertBlocks(0, {}, u"粘贴"_s);
    doc.RemoveBlocks(0, 0, u"删除"_s);
    EXPECT_EQ(doc.UndoStack().count(), count);
}

TEST_F(ProgramCommands, NewAndOpenClearTheStackAFailedOpenLeavesIt) {
    doc.InsertBlocks(0, {NewBlock(1)}, u"插入"_s);
    const QString path = dir.filePath(u"a.rer"_s);
    doc.SaveDocument(path);
    doc.InsertBlocks(1, {NewBlock(2)}, u"插入"_s);
    EXPECT_THROW(doc.LoadDocument(dir.filePath(u"missing.rer"_s)), EFileError);
    EXPECT_EQ(doc.UndoStack().count(), 2);
    doc.LoadDocument(path);
    EXPECT_EQ(doc.UndoStack().count(), 0);
    doc.InsertBlocks(1, {NewBlock(2)}, u"插入"_s);
    doc.NewDocument();
    EXPECT_EQ(doc.UndoStack().count(), 0);
    EXPECT_TRUE(doc.Program().Empty());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
