#pragma once

// The main window: the toolbar, the block palette, the chart canvas with the
// program chain, and the listing pane. It owns the chain and the four XML
// documents that the document, editing and listing commands work in.

#include "app/ToolPanel.h"
#include "blocks/editing/BlockDialogs.h"
#include "chart/FlowChart.h"
#include "chart/NavBar.h"
#include "chart/ProgramChain.h"
#include "xml/SimpleXML.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QPixmap>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QMimeData;
class QPlainTextEdit;
class QSplitter;
class QToolButton;
class QWidget;
class QCloseEvent;
class TBlockEditor;
class TDocument;
class TFormAbout;
class TFormDownload;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    TToolPanel* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QToolButton* SpeedButton10 = nullptr;
    QToolButton* UndoButton = nullptr;
    QToolButton* RedoButton = nullptr;
    // The chart's edits, in the 编辑 menu, the block's right-click menu and
    // on their keys (Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z, Ctrl+X/C/V/D, Delete,
    // Alt+Up/Down, Enter; Up/Down move the selection).
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    QAction* CutAction = nullptr;
    QAction* CopyAction = nullptr;
    QAction* PasteAction = nullptr;
    QAction* DuplicateAction = nullptr;
    QAction* DeleteAction = nullptr;
    QAction* MoveUpAction = nullptr;
    QAction* MoveDownAction = nullptr;
    QAction* EditAction = nullptr;

    void UndoEdit();
    void RedoEdit();
    void CutBlocks();
    void CopyBlocks();
    void PasteBlocks();
    void DuplicateBlocks();
    void DeleteSelectedBlock();
    void MoveBlocksUp();
    void MoveBlocksDown();
    void EditSelectedBlock();
    void SelectPrevious();
    void SelectNext();
    // Shift+click: the run from the selected block to the clicked one.
    void ExtendSelection(TFcItem* item);
    // A dragged run of blocks dropped on spot (the spot before block spot).
    void MoveBlocksToSpot(std::size_t first, std::size_t count, std::size_t spot);
    TNavBar* NavBar1 = nullptr;
    TFlowChart* FlowChart1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    // The record scratch document; the document operations own the file,
    // snapshot and comparison documents.
    TSimpleXML SimpleXML1;

    // The program chain with its operations (InsertBlock, AppendBlock,
    // LastAppended, DeleteBlock, SetBlockHeight, Relayout, FreeChain,
    // BuildInitialChain, BlockObjects).
    TProgramChain* Chain() const { return ChainOps.get(); }

    // Save, load, the modified test and the document name.
    TDocument* Document() const { return DocumentOps.get(); }
    // Name of the open chart file; empty for a new chart.
    const QString& DocumentName() const;

    // The block dialogs and the download window, made by start-up in their
    // order after this window; the editing flow works with the dialogs.
    void SetDialogs(const TBlockDialogs& dialogs);
    TFormDownload* FormDownload = nullptr;

    // The file dialogs and the save question; tests put their own in.
    enum class TFileDialog { OpenDialog1, SaveDialog1, OpenDialog2, SaveDialog2 };
    std::function<QString(TFileDialog)> ChooseFile;
    // Returns QMessageBox::Yes, No or Cancel.
    std::function<int(const QString& question)> AskQuestion;
    // A warning box with OK, after a command that went through with a caveat.
    std::function<void(const QString& text)> ShowWarning;

    // Opens a chart, as Open does and as start-up does for a chart named on
    // the command line. Throws EFileError for a name that does not exist or
    // is not a .rer file; afterwards the chart shows its top.
    void OpenChart(const QString& path);

    // The save-changes prompt of New, Open and closing: false when the user
    // cancels, also by cancelling the file dialog of the save that "Yes" starts.
    bool AskToSave();

    // The About window; made on first use when start-up did not provide one.
    TFormAbout* FormAbout = nullptr;

    static constexpr int ChartStartWidth = 282;
    static constexpr int ChartMinWidth = 180;
    static constexpr int ListingMinWidth = 120;

public slots:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    // Palette item kind; items 7 and 8 never act.
    void NavBar1ItemClick(int kind);
    void FlowChart1DblClick();

signals:
    // A left double-click on the canvas; the clicked block, if any, is the
    // canvas's Selection.
    void ChartDoubleClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    QString RunFileDialog(TFileDialog which);
    void SaveTo(const QString& path);
    void FormDestroy();
    void CreateEditActions();
    void CreateMenus();
    void SetUpDragAndDrop();
    // A new block of kind with its default record at index, as one edit.
    void InsertNewBlock(int kind, std::size_t index);
    void DragBlocks(TFcObject* pressed);
    void DropAt(const QMimeData* data, TFcPoint p);
    // The run of blocks being dragged, while a drag runs.
    std::optional<std::pair<std::size_t, std::size_t>> DraggedRun;
    QAction* NewAction(const QString& text, const QKeySequence& key, void (TForm1::*handler)(),
                       Qt::ShortcutContext context);
    std::vector<TProgramBlock> SelectedCopies() const;
    void MoveSelectedBlocks(int step);
    QToolButton* MakeToolButton(const QString& name, const QString& icon, int left,
                                const QString& command);
    QToolButton* MakeSpeedButton(int number, int left, const QString& command);
    void FitSplitter();

    std::unique_ptr<TProgramChain> ChainOps;
    std::unique_ptr<TDocument> DocumentOps;
    std::unique_ptr<TBlockEditor> Editor;
    TBlockDialogs Dialogs;
    // What the listing pane is given when the window grows; the user's own
    // choice once the splitter has been dragged.
    int ListingWidth = 300;
    // Where the next file dialog starts; empty before the first one.
    QString FileFolder;
};
