// The chart's edits as a pupil makes them in the window: palette clicks in a
// row, keys on the chart, Shift+click runs, the clipboard between two windows,
// undo and redo with their buttons.

#include "app/Unit1.h"
#include "chart/NavBar.h"
#include "document/TDocument.h"
#include "errors/ErrorReport.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUndoStack>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<int> KindsOf(const TForm1& form) {
    std::vector<int> kinds;
    for (const TProgramBlock& block : form.Document()->Program().AllBlocks())
        kinds.push_back(block.Kind);
    return kinds;
}

// A shown, active window with the chart focused, so keys reach its actions.
struct TShownForm {
    TShownForm() {
        Form.show();
        Activate();
    }
    void Activate() {
        Form.activateWindow();
        QApplication::setActiveWindow(&Form);
        Form.FlowChart1->setFocus();
    }
    // As typed into this window: the one in front, its chart focused.
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        Activate();
        QTest::keyClick(Form.FlowChart1, Qt::Key(key), modifiers);
    }
    void Click(int kind) { Form.NavBar1ItemClick(kind); }
    TFcObject* Block(std::size_t i) { return Form.Chain()->BlockObjectAt(i); }
    void ShiftClick(std::size_t i) {
        const TFcObject* block = Block(i);
        const TFcPoint o = Form.FlowChart1->ScrollOffset();
        QTest::mouseClick(Form.FlowChart1->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          QPoint(block->Left() + 10 - o.X, block->Top() + 10 - o.Y));
    }
    TForm1 Form;
};

TEST(EditingKeys, PaletteClicksInARowBuildTheProgramInOrder) {
    TShownForm w;
    w.Click(1);
    w.Click(2);
    w.Click(1);
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(w.Form.FlowChart1->Selection(), w.Block(2));
    EXPECT_EQ(w.Form.Document()->UndoStack().undoText(), u"插入“直行”"_s);
}

TEST(EditingKeys, DeleteUndoRedoWithKeysAndButtons) {
    TShownForm w;
    EXPECT_FALSE(w.Form.UndoButton->isEnabled());
    EXPECT_FALSE(w.Form.RedoButton->isEnabled());
    w.Click(1);
    w.Click(2);
    w.Key(Qt::Key_Delete);
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1}));
    EXPECT_TRUE(w.Form.UndoButton->isEnabled());
    EXPECT_EQ(w.Form.UndoButton->toolTip(), u"撤销删除“转向” (Ctrl+Z)"_s);
    w.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1, 2}));
    EXPECT_TRUE(w.Form.RedoButton->isEnabled());
    w.Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1}));
    w.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // nothing left to redo
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1}));
    w.Form.UndoButton->click();
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1, 2}));
    w.Form.RedoButton->click();
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1}));
}

TEST(EditingKeys, ArrowsWalkTheChainAndAltArrowsMoveTheSelection) {
    TShownForm w;
    for (int kind : {1, 2, 3, 4})
        w.Click(kind);
    w.Form.Chain()->SelectBlock(1);
    w.Key(Qt::Key_Down); // the spot after it
    w.Key(Qt::Key_Down); // the next block
    EXPECT_EQ(w.Form.FlowChart1->Selection(), w.Block(2));
    w.Key(Qt::Key_Up);
    w.Key(Qt::Key_Up);
    EXPECT_EQ(w.Form.FlowChart1->Selection(), w.Block(1));
    w.Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1, 3, 2, 4}));
    EXPECT_EQ(w.Form.FlowChart1->Selection(), w.Block(2)) << "the moved block stays selected";
    // A run moves as one, and not beyond the ends.
    w.ShiftClick(3);
    w.Key(Qt::Key_Up, Qt::AltModifier);
    w.Key(Qt::Key_Up, Qt::AltModifier);
    w.Key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{2, 4, 1, 3}));
    EXPECT_EQ(w.Form.FlowChart1->SelectionCount(), 2);
    EXPECT_EQ(w.Form.Document()->UndoStack().undoText(), u"移动 2 个模块"_s);
    // Enter opens the selected block's dialog.
    QSignalSpy opened(&w.Form, &TForm1::ChartDoubleClicked);
    w.Form.Chain()->SelectBlock(0);
    w.Key(Qt::Key_Return);
    EXPECT_EQ(opened.size(), 1);
}

TEST(EditingKeys, CopyInOneWindowPasteInAnother) {
    TShownForm source;
    for (int kind : {1, 11, 2})
        source.Click(kind);
    source.Form.Document()->EditRecord(
        1, "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<CtrlNode type=\"11\">\r\n"
           "  <label>L1</label>\r\n</CtrlNode>\r\n");
    source.Form.Chain()->SelectBlock(0);
    source.ShiftClick(1);
    EXPECT_EQ(source.Form.FlowChart1->SelectionCount(), 2);
    source.Key(Qt::Key_C, Qt::ControlModifier);

    TShownForm target;
    target.Click(5);
    target.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(KindsOf(target.Form), (std::vector<int>{5, 1, 11}));
    EXPECT_EQ(target.Form.Document()->Program().At(2).Record,
              source.Form.Document()->Program().At(1).Record);
    EXPECT_EQ(target.Block(2)->Text(), u"标号:L1"_s);
    EXPECT_EQ(target.Form.Document()->UndoStack().undoText(), u"粘贴 2 个模块"_s);
    // Ids are the target's own.
    EXPECT_NE(target.Form.Document()->Program().At(1).Id, 0u);

    // Duplicate and cut in the source window.
    source.Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(KindsOf(source.Form), (std::vector<int>{1, 11, 1, 11, 2}));
    source.Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(KindsOf(source.Form), (std::vector<int>{1, 11, 2}));
    source.Form.Chain()->SelectBlock(2);
    source.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(KindsOf(source.Form), (std::vector<int>{1, 11, 2, 1, 11}));
}

TEST(EditingKeys, DropsOnSpotsMoveBlocksAndInsertPaletteItems) {
    TShownForm w;
    for (int kind : {1, 2, 3})
        w.Click(kind);
    QUndoStack& stack = w.Form.Document()->UndoStack();
    // The third block dragged above the first; onto its own spots nothing moves.
    const int before = stack.count();
    w.Form.MoveBlocksToSpot(2, 1, 2);
    w.Form.MoveBlocksToSpot(2, 1, 3);
    EXPECT_EQ(stack.count(), before);
    w.Form.MoveBlocksToSpot(2, 1, 0);
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{3, 1, 2}));
    w.Form.MoveBlocksToSpot(0, 2, 3); // a run to the end
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{2, 3, 1}));
    stack.undo();
    stack.undo();
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{1, 2, 3}));

    // A palette item dragged over the chart highlights the spot nearest to
    // the mouse and is inserted there when dropped.
    QWidget* viewport = w.Form.FlowChart1->viewport();
    const TFcObject* first = w.Block(0);
    const QPoint onFirstSpot(first->Left() + 45, first->Top() - 8);
    QMimeData* data = PaletteKindMimeData(5);
    QDragEnterEvent enter(onFirstSpot, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(w.Form.FlowChart1->DropTarget(), w.Form.Chain()->SpotMarkerAt(0));
    QDropEvent drop(onFirstSpot, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(KindsOf(w.Form), (std::vector<int>{5, 1, 2, 3}));
    EXPECT_EQ(w.Form.FlowChart1->DropTarget(), nullptr);
    // Beside the column nothing is taken.
    QDragMoveEvent away(QPoint(first->Left() + 300, first->Top()), Qt::CopyAction, data,
                        Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &away);
    EXPECT_FALSE(away.isAccepted());
    delete data;
}

TEST(EditingKeys, ACommandThatFailsIsReportedAtItsButtonNotThrownIntoTheToolkit) {
    QStringList reported;
    SetErrorReporter([&](const QString& text) { reported << text; });
    TShownForm w;
    w.Form.AskQuestion = [](const QString&) { return int(QMessageBox::No); };
    w.Form.ChooseFile = [](TForm1::TFileDialog) { return u"/nonexistent/missing.rer"_s; };
    EXPECT_NO_THROW(w.Form.SpeedButton2->click());
    EXPECT_NO_THROW(w.Key(Qt::Key_O, Qt::ControlModifier));
    SetErrorReporter(nullptr);
    ASSERT_EQ(reported.size(), 2);
    EXPECT_TRUE(reported[0].startsWith(u"找不到流程图文件"_s)) << reported[0].toStdString();
}

TEST(EditingKeys, TheMenuBarHoldsEveryCommand) {
    TForm1 form;
    QStringList menus;
    QStringList items;
    for (QAction* menu : form.menuBar()->actions()) {
        menus << menu->text();
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator())
                items << item->text() + u'\t' + item->shortcut().toString();
    }
    EXPECT_EQ(menus, (QStringList{u"文件(&F)"_s, u"编辑(&E)"_s, u"程序(&P)"_s, u"帮助(&H)"_s}));
    for (const QString& expected :
         {u"新建\tCtrl+N"_s, u"打开…\tCtrl+O"_s, u"保存\tCtrl+S"_s, u"另存为…\tCtrl+Shift+S"_s,
          u"导入清单…\t"_s, u"导出清单…\t"_s, u"退出\tCtrl+Q"_s, u"剪切\tCtrl+X"_s,
          u"复制\tCtrl+C"_s, u"粘贴\tCtrl+V"_s, u"重复\tCtrl+D"_s, u"删除\tDel"_s,
          u"上移\tAlt+Up"_s, u"下移\tAlt+Down"_s, u"编译\tF9"_s, u"下载…\tF5"_s, u"关于…\t"_s})
        EXPECT_TRUE(items.contains(expected)) << expected.toStdString();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
