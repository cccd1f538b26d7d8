#include "app/Unit1.h"

#include "app/Application.h"
#include "app/frmAbout.h"
#include "blocks/BlockCatalogue.h"
#include "blocks/dialogs/frmVOICEX.h"
#include "blocks/editing/BlockEditor.h"
#include "codegen/BuildListing.h"
#include "document/BlockClipboard.h"
#include "document/ListingFile.h"
#include "document/TDocument.h"
#include "download/frmDownload.h"
#include "gbk/GbkText.h"

#include <QAction>
#include <QClipboard>
#include <QDrag>
#include <QMimeData>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QPixmap RenderSvg(const QString& path, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    return pixmap;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setGeometry(106, 80, 618, 463);
    QFont windowFont(u"MS Sans Serif"_s);
    windowFont.setPixelSize(11);
    setFont(windowFont);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = new TToolPanel(central);
    Panel1->setFixedHeight(37);
    SpeedButton1 = MakeSpeedButton(1, 2, u"新建"_s);
    SpeedButton2 = MakeSpeedButton(2, 34, u"打开"_s);
    SpeedButton3 = MakeSpeedButton(3, 66, u"保存"_s);
    SpeedButton4 = MakeSpeedButton(4, 98, u"另存为"_s);
    SpeedButton5 = MakeSpeedButton(5, 138, u"退出"_s);
    SpeedButton8 = MakeSpeedButton(8, 170, u"关于"_s);
    UndoButton = MakeToolButton(u"UndoButton"_s, u":/icons/toolbar/Undo.svg"_s, 250, u"撤销"_s);
    RedoButton = MakeToolButton(u"RedoButton"_s, u":/icons/toolbar/Redo.svg"_s, 282, u"重做"_s);
    SpeedButton7 = MakeSpeedButton(7, 362, u"编译"_s);
    SpeedButton6 = MakeSpeedButton(6, 394, u"下载"_s);
    SpeedButton10 = MakeSpeedButton(10, 474, u"导入清单"_s);
    SpeedButton9 = MakeSpeedButton(9, 506, u"导出清单"_s);
    connect(SpeedButton1, &QToolButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
    connect(SpeedButton2, &QToolButton::clicked, this, Guarded([this] { SpeedButton2Click(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, Guarded([this] { SpeedButton3Click(); }));
    connect(SpeedButton4, &QToolButton::clicked, this, Guarded([this] { SpeedButton4Click(); }));
    connect(SpeedButton5, &QToolButton::clicked, this, Guarded([this] { SpeedButton5Click(); }));
    connect(SpeedButton6, &QToolButton::clicked, this, Guarded([this] { SpeedButton6Click(); }));
    connect(SpeedButton7, &QToolButton::clicked, this, Guarded([this] { SpeedButton7Click(); }));
    connect(SpeedButton8, &QToolButton::clicked, this, Guarded([this] { SpeedButton8Click(); }));
    connect(SpeedButton9, &QToolButton::clicked, this, Guarded([this] { SpeedButton9Click(); }));
    connect(SpeedButton10, &QToolButton::clicked, this, Guarded([this] { SpeedButton10Click(); }));
    column->addWidget(Panel1);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    NavBar1 = new TNavBar(central);
    row->addWidget(NavBar1);

    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    FlowChart1 = new TFlowChart(Splitter1);
    FlowChart1->SetColor(clSkyBlue);
    FlowChart1->SetImages({RenderSvg(u":/icons/robot_head.svg"_s, QSize(32, 31))});
    FlowChart1->SetOptions(fcoCanDrag | fcoCanSelect);
    FlowChart1->OnDblClick = Guarded([this](TCustomFlowChart*) { FlowChart1DblClick(); });
    Memo1 = new QPlainTextEdit(Splitter1);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Splitter1->addWidget(FlowChart1);
    Splitter1->addWidget(Memo1);
    FlowChart1->setMinimumWidth(ChartMinWidth);
    Memo1->setMinimumWidth(ListingMinWidth);
    // A wider window widens the chart; the listing keeps its width.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({ChartStartWidth, 618 - 145 - ChartStartWidth - 5});
    Splitter1->installEventFilter(this);
    connect(Splitter1, &QSplitter::splitterMoved, this,
            [this] { ListingWidth = Memo1->width(); });
    row->addWidget(Splitter1, 1);
    column->addLayout(row, 1);
    setCentralWidget(central);
    setMinimumSize(480, 360);

    connect(NavBar1, &TNavBar::ItemClicked, this,
            Guarded([this](int kind) { NavBar1ItemClick(kind); }));
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

QToolButton* TForm1::MakeSpeedButton(int number, int left, const QString& command) {
    return MakeToolButton(u"SpeedButton%1"_s.arg(number),
                          u":/icons/toolbar/SpeedButton%1.svg"_s.arg(number), left, command);
}

QToolButton* TForm1::MakeToolButton(const QString& name, const QString& icon, int left,
                                    const QString& command) {
    auto* button = new QToolButton(Panel1);
    button->setObjectName(name);
    button->setGeometry(left, 2, 32, 32);
    // The pictures alone do not say what a button does.
    button->setToolTip(command);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(32, 32));
    button->setIcon(QIcon(RenderSvg(icon, QSize(32, 32))));
    button->setStyleSheet(u"QToolButton { border: 1px solid transparent; padding: 0px; }"
                          " QToolButton:hover { border: 1px solid palette(mid); }"
                          " QToolButton:pressed { border: 1px solid palette(dark); }"_s);
    Panel1->AddButton(button, left);
    return button;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Splitter1 && event->type() == QEvent::Resize)
        FitSplitter();
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FitSplitter() {
    // Runs before the splitter hands out its new width: the listing grows to
    // the width it wants once the chart has its starting width, and the
    // chart takes everything beyond that.
    const int total = Splitter1->width() - Splitter1->handleWidth();
    if (total <= 0)
        return;
    const int listing = std::clamp(total - ChartStartWidth, ListingMinWidth,
                                   std::max(ListingMinWidth, ListingWidth));
    Splitter1->setSizes({total - listing, listing});
}

void TForm1::FormCreate() {
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    setWindowTitle(ApplicationTitle());
    Memo1->clear();
    ChainOps = std::make_unique<TProgramChain>(FlowChart1, &SimpleXML1);
    ChainOps->SetCaptionSource([this](int kind) { return NavBar1->ItemCaption(kind); });
    ChainOps->BuildInitialChain();
    DocumentOps = std::make_unique<TDocument>(*ChainOps, SimpleXML1, this, Memo1);
    CreateEditActions();
    ChooseFile = [this](TFileDialog which) { return RunFileDialog(which); };
    AskQuestion = [this](const QString& question) {
        return int(QMessageBox::warning(this, ApplicationTitle(), question,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
    };
    ShowWarning = [this](const QString& text) {
        QMessageBox::warning(this, ApplicationTitle(), text, QMessageBox::Ok);
    };
}

void TForm1::FormDestroy() {
    // The chain's elements delete their objects from the canvas, so the
    // chain goes before the canvas does.
    Editor.reset();
    DocumentOps.reset();
    ChainOps.reset();
}

const QString& TForm1::DocumentName() const {
    return DocumentOps->DocumentName();
}

QAction* TForm1::NewAction(const QString& text, const QKeySequence& key,
                           void (TForm1::*handler)(), Qt::ShortcutContext context) {
    auto* action = new QAction(text, this);
    if (!key.isEmpty())
        action->setShortcut(key);
    action->setShortcutContext(context);
    connect(action, &QAction::triggered, this, Guarded([this, handler] { (this->*handler)(); }));
    // Chart edits answer their keys only while the chart has the focus, so
    // the listing pane keeps its own copy, paste and cursor keys.
    if (context == Qt::WidgetWithChildrenShortcut)
        FlowChart1->addAction(action);
    else
        addAction(action);
    return action;
}

void TForm1::CreateEditActions() {
    QUndoStack& stack = DocumentOps->UndoStack();
    constexpr Qt::ShortcutContext chart = Qt::WidgetWithChildrenShortcut;
    constexpr Qt::ShortcutContext window = Qt::WindowShortcut;
    UndoAction = NewAction(u"撤销"_s, QKeySequence::Undo, &TForm1::UndoEdit, window);
    RedoAction = NewAction(u"重做"_s, QKeySequence(Qt::CTRL | Qt::Key_Y), &TForm1::RedoEdit, window);
    RedoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    CutAction = NewAction(u"剪切"_s, QKeySequence::Cut, &TForm1::CutBlocks, chart);
    CopyAction = NewAction(u"复制"_s, QKeySequence::Copy, &TForm1::CopyBlocks, chart);
    PasteAction = NewAction(u"粘贴"_s, QKeySequence::Paste, &TForm1::PasteBlocks, chart);
    DuplicateAction = NewAction(u"重复"_s, QKeySequence(Qt::CTRL | Qt::Key_D),
                                &TForm1::DuplicateBlocks, chart);
    DeleteAction = NewAction(u"删除"_s, QKeySequence::Delete, &TForm1::DeleteSelectedBlock, chart);
    MoveUpAction = NewAction(u"上移"_s, QKeySequence(Qt::ALT | Qt::Key_Up), &TForm1::MoveBlocksUp,
                             chart);
    MoveDownAction = NewAction(u"下移"_s, QKeySequence(Qt::ALT | Qt::Key_Down),
                               &TForm1::MoveBlocksDown, chart);
    EditAction = NewAction(u"参数…"_s, QKeySequence(Qt::Key_Return), &TForm1::EditSelectedBlock,
                           chart);
    EditAction->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    NewAction(u"上一个"_s, QKeySequence(Qt::Key_Up), &TForm1::SelectPrevious, chart);
    NewAction(u"下一个"_s, QKeySequence(Qt::Key_Down), &TForm1::SelectNext, chart);

    connect(UndoButton, &QToolButton::clicked, this, Guarded([this] { UndoEdit(); }));
    connect(RedoButton, &QToolButton::clicked, this, Guarded([this] { RedoEdit(); }));
    const auto update = [this, &stack] {
        // "撤销插入“直行”": what the button would take back.
        UndoAction->setEnabled(stack.canUndo());
        RedoAction->setEnabled(stack.canRedo());
        UndoButton->setEnabled(stack.canUndo());
        RedoButton->setEnabled(stack.canRedo());
        UndoAction->setText(u"撤销"_s + stack.undoText());
        RedoAction->setText(u"重做"_s + stack.redoText());
        UndoButton->setToolTip(u"%1 (Ctrl+Z)"_s.arg(UndoAction->text()));
        RedoButton->setToolTip(u"%1 (Ctrl+Y)"_s.arg(RedoAction->text()));
    };
    connect(&stack, &QUndoStack::indexChanged, this, update);
    connect(&stack, &QUndoStack::cleanChanged, this, update);
    update();

    FlowChart1->OnShiftClick = [this](TCustomFlowChart*, TFcItem* item) { ExtendSelection(item); };
    FlowChart1->OnContextMenu = [this](TCustomFlowChart*, TFcItem*, QPoint at) {
        QMenu menu(this);
        menu.addActions({CutAction, CopyAction, PasteAction, DuplicateAction, DeleteAction});
        menu.addSeparator();
        menu.addActions({MoveUpAction, MoveDownAction, EditAction});
        menu.exec(at);
    };
    CreateMenus();
    SetUpDragAndDrop();
}

namespace {

// A drag of blocks within one window: the window's address tells a drop in
// another window of the program that the move is not its own.
const QString BlockMoveMimeType = u"application/x-dedevav-move"_s;

} // namespace

void TForm1::SetUpDragAndDrop() {
    FlowChart1->setAcceptDrops(true);
    FlowChart1->viewport()->setAcceptDrops(true);
    FlowChart1->OnStartDrag =
        Guarded([this](TCustomFlowChart*, TFcObject* pressed) { DragBlocks(pressed); });
    FlowChart1->OnDragOver = [this](TCustomFlowChart*, const QMimeData* data, TFcPoint p,
                                    TFcObject*& target) {
        const bool ownMove = data && data->data(BlockMoveMimeType) ==
                                         QByteArray::number(quintptr(this)) && DraggedRun;
        if (!ownMove && PaletteKindOf(data) == 0)
            return false;
        const std::optional<std::size_t> spot = ChainOps->SpotIndexAt(p);
        if (!spot)
            return false;
        target = ChainOps->SpotMarkerAt(*spot);
        return true;
    };
    FlowChart1->OnDrop = Guarded([this](TCustomFlowChart*, const QMimeData* data, TFcPoint p) {
        DropAt(data, p);
    });
}

void TForm1::DragBlocks(TFcObject* pressed) {
    if (ChainOps->BlockIndexOf(pressed) < 0)
        return;
    DraggedRun = ChainOps->SelectedBlocks();
    if (!DraggedRun)
        return;
    auto* drag = new QDrag(FlowChart1);
    auto* data = new QMimeData;
    data->setData(BlockMoveMimeType, QByteArray::number(quintptr(this)));
    drag->setMimeData(data);
    // Escape or a drop outside a spot ends here with nothing changed.
    drag->exec(Qt::MoveAction);
    DraggedRun.reset();
}

void TForm1::DropAt(const QMimeData* data, TFcPoint p) {
    const std::optional<std::size_t> spot = ChainOps->SpotIndexAt(p);
    if (!spot)
        return;
    if (const int kind = PaletteKindOf(data)) {
        InsertNewBlock(kind, *spot);
        return;
    }
    if (DraggedRun)
        MoveBlocksToSpot(DraggedRun->first, DraggedRun->second, *spot);
}

void TForm1::MoveBlocksToSpot(std::size_t first, std::size_t count, std::size_t spot) {
    // Onto a spot inside or next to the run itself: nothing moves.
    if (spot >= first && spot <= first + count)
        return;
    DocumentOps->MoveBlocks(first, count, spot > first ? spot - count : spot);
}

void TForm1::CreateMenus() {
    constexpr Qt::ShortcutContext window = Qt::WindowShortcut;
    QMenu* file = menuBar()->addMenu(u"文件(&F)"_s);
    file->addAction(NewAction(u"新建"_s, QKeySequence::New, &TForm1::SpeedButton1Click, window));
    file->addAction(NewAction(u"打开…"_s, QKeySequence::Open, &TForm1::SpeedButton2Click, window));
    file->addAction(NewAction(u"保存"_s, QKeySequence::Save, &TForm1::SpeedButton3Click, window));
    file->addAction(NewAction(u"另存为…"_s, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                              &TForm1::SpeedButton4Click, window));
    file->addSeparator();
    file->addAction(NewAction(u"导入清单…"_s, {}, &TForm1::SpeedButton10Click, window));
    file->addAction(NewAction(u"导出清单…"_s, {}, &TForm1::SpeedButton9Click, window));
    file->addSeparator();
    file->addAction(NewAction(u"退出"_s, QKeySequence(Qt::CTRL | Qt::Key_Q),
                              &TForm1::SpeedButton5Click, window));
    QMenu* edit = menuBar()->addMenu(u"编辑(&E)"_s);
    edit->addActions({UndoAction, RedoAction});
    edit->addSeparator();
    edit->addActions({CutAction, CopyAction, PasteAction, DuplicateAction, DeleteAction});
    edit->addSeparator();
    edit->addActions({MoveUpAction, MoveDownAction, EditAction});
    QMenu* program = menuBar()->addMenu(u"程序(&P)"_s);
    program->addAction(NewAction(u"编译"_s, QKeySequence(Qt::Key_F9), &TForm1::SpeedButton7Click,
                                 window));
    program->addAction(NewAction(u"下载…"_s, QKeySequence(Qt::Key_F5), &TForm1::SpeedButton6Click,
                                 window));
    QMenu* help = menuBar()->addMenu(u"帮助(&H)"_s);
    help->addAction(NewAction(u"关于…"_s, {}, &TForm1::SpeedButton8Click, window));
}

void TForm1::UndoEdit() {
    DocumentOps->UndoStack().undo();
}

void TForm1::RedoEdit() {
    DocumentOps->UndoStack().redo();
}

void TForm1::DeleteSelectedBlock() {
    if (const auto run = ChainOps->SelectedBlocks())
        DocumentOps->RemoveBlocks(run->first, run->second, u"删除"_s);
}

std::vector<TProgramBlock> TForm1::SelectedCopies() const {
    std::vector<TProgramBlock> copies;
    if (const auto run = ChainOps->SelectedBlocks())
        for (std::size_t i = run->first; i < run->first + run->second; ++i)
            copies.push_back({0, DocumentOps->Program().At(i).Kind, DocumentOps->Program().At(i).Record});
    return copies;
}

void TForm1::CopyBlocks() {
    const std::vector<TProgramBlock> copies = SelectedCopies();
    if (!copies.empty())
        QGuiApplication::clipboard()->setMimeData(BlocksMimeData(copies));
}

void TForm1::CutBlocks() {
    const auto run = ChainOps->SelectedBlocks();
    if (!run)
        return;
    CopyBlocks();
    DocumentOps->RemoveBlocks(run->first, run->second, u"剪切"_s);
}

void TForm1::PasteBlocks() {
    std::vector<TProgramBlock> blocks = BlocksFromMimeData(QGuiApplication::clipboard()->mimeData());
    if (blocks.empty())
        return;
    // After the selected spot or blocks; with nothing selected, at the end.
    const std::size_t index = ChainOps->InsertionIndex().value_or(DocumentOps->Program().Count());
    DocumentOps->InsertBlocks(index, std::move(blocks), u"粘贴"_s);
}

void TForm1::DuplicateBlocks() {
    const auto run = ChainOps->SelectedBlocks();
    if (run)
        DocumentOps->InsertBlocks(run->first + run->second, SelectedCopies(), u"重复"_s);
}

void TForm1::MoveSelectedBlocks(int step) {
    const auto run = ChainOps->SelectedBlocks();
    if (!run)
        return;
    const auto [first, count] = *run;
    const std::size_t last = DocumentOps->Program().Count() - count;
    if ((step < 0 && first == 0) || (step > 0 && first == last))
        return;
    DocumentOps->MoveBlocks(first, count, step < 0 ? first - 1 : first + 1);
}

void TForm1::MoveBlocksUp() {
    MoveSelectedBlocks(-1);
}

void TForm1::MoveBlocksDown() {
    MoveSelectedBlocks(1);
}

void TForm1::EditSelectedBlock() {
    if (ChainOps->BlockIndexOf(FlowChart1->Selection()) >= 0)
        FlowChart1DblClick();
}

void TForm1::SelectPrevious() {
    ChainOps->StepSelection(-1);
}

void TForm1::SelectNext() {
    ChainOps->StepSelection(1);
}

void TForm1::ExtendSelection(TFcItem* item) {
    const int clicked = item && item->IsObject()
                            ? ChainOps->BlockIndexOf(static_cast<TFcObject*>(item))
                            : -1;
    if (clicked < 0)
        return;
    // From the block selected before (the first of a run) to the clicked one.
    const auto run = ChainOps->SelectedBlocks();
    const std::size_t anchor = run ? run->first : std::size_t(clicked);
    const std::size_t low = std::min(anchor, std::size_t(clicked));
    const std::size_t high = std::max(anchor, std::size_t(clicked));
    ChainOps->SelectBlocks(low, high - low + 1);
}

void TForm1::SetDialogs(const TBlockDialogs& dialogs) {
    Dialogs = dialogs;
    Editor = std::make_unique<TBlockEditor>(*ChainOps, SimpleXML1, Dialogs);
    Editor->SetEdits({[this](std::size_t index) {
                          DocumentOps->RemoveBlocks(index, 1, u"删除"_s);
                          // The dialog's handler is still on the stack.
                          ChainOps->ReselectSpotLater(index);
                      },
                      [this](std::size_t index, std::string record) {
                          DocumentOps->EditRecord(index, std::move(record));
                      }});
    if (TFormVOICEX* voice = Dialogs.FormVOICEX) {
        DocumentOps->SetPhraseSource([voice] {
            QStringList phrases;
            for (int i = 0; i < voice->PhraseCount(); ++i)
                phrases << voice->Phrase(i);
            return phrases;
        });
    }
}

namespace {

bool HasExtension(const QString& path, const QString& extension) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot >= 0 && path.mid(dot).compare(extension, Qt::CaseInsensitive) == 0;
}

} // namespace

QString TForm1::RunFileDialog(TFileDialog which) {
    const bool chart = which == TFileDialog::OpenDialog1 || which == TFileDialog::SaveDialog1;
    const bool save = which == TFileDialog::SaveDialog1 || which == TFileDialog::SaveDialog2;
    // The current folder is the program's own, where the phrase file lives;
    // the user's files belong in the documents folder, and after that in the
    // folder the user last chose.
    if (FileFolder.isEmpty()) {
        FileFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (FileFolder.isEmpty() || !QFileInfo(FileFolder).isDir())
            FileFolder = QDir::homePath();
    }
    QFileDialog dialog(this, QString(), FileFolder,
                       chart ? u"流程图文件(*.rer)"_s : u"DEDEVAV文件文本格式(*.txt)"_s);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setDefaultSuffix(chart ? u"rer"_s : u"txt"_s);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        FileFolder = dialog.directory().absolutePath();
        return QString();
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    FileFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

bool TForm1::AskToSave() {
    const std::optional<QString> question = DocumentOps->SaveQuestion();
    if (!question)
        return true;
    const int answer = AskQuestion(*question);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes) {
        SpeedButton3Click();
        // A save that did not happen (its file dialog cancelled) must not let
        // New or Open throw the chart away.
        if (DocumentOps->DocumentName().isEmpty() || DocumentOps->IsModified())
            return false;
    }
    return true;
}

void TForm1::SaveTo(const QString& path) {
    if (path.isEmpty())
        return;
    // A name typed without an extension gets the chart's; another extension
    // is not silently turned into a chart nobody can find.
    QString target = path;
    if (QFileInfo(path).suffix().isEmpty() && !path.endsWith(u'.'))
        target += u".rer"_s;
    if (!HasExtension(target, u".rer"_s)) {
        if (ShowWarning)
            ShowWarning(u"流程图只能保存为 .rer 文件，“%1”没有保存。请用以 .rer 结尾的文件名。"_s.arg(
                QDir::toNativeSeparators(path)));
        return;
    }
    DocumentOps->SaveDocument(target);
}

void TForm1::SpeedButton1Click() {
    if (AskToSave())
        DocumentOps->NewDocument();
}

void TForm1::SpeedButton2Click() {
    if (AskToSave())
        OpenChart(ChooseFile(TFileDialog::OpenDialog1));
}

void TForm1::OpenChart(const QString& path) {
    if (path.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path))
        throw EFileError(u"找不到流程图文件“%1”，编辑器里是一个新的流程图。"_s.arg(shown).toStdString());
    if (!HasExtension(path, u".rer"_s))
        throw EFileError(
            u"“%1”不是流程图文件：只能打开以 .rer 结尾的文件。"_s.arg(shown).toStdString());
    const QString damage = DocumentOps->LoadDocument(path);
    // The new chart starts at its top, where 开始 is.
    FlowChart1->verticalScrollBar()->setValue(0);
    FlowChart1->horizontalScrollBar()->setValue(0);
    if (!damage.isEmpty() && ShowWarning)
        ShowWarning(damage);
}

void TForm1::SpeedButton3Click() {
    if (!DocumentOps->DocumentName().isEmpty())
        DocumentOps->SaveDocument(DocumentOps->DocumentName());
    else
        SaveTo(ChooseFile(TFileDialog::SaveDialog1));
}

void TForm1::SpeedButton4Click() {
    SaveTo(ChooseFile(TFileDialog::SaveDialog1));
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Unsaved changes are offered for saving before the program ends; a save
    // that fails keeps the window open, so nothing is lost.
    try {
        if (!AskToSave()) {
            event->ignore();
            return;
        }
    } catch (const std::exception& e) {
        event->ignore();
        TApplication::ShowException(ExceptionMessageText(e));
        return;
    }
    event->accept();
}

void TForm1::SpeedButton5Click() {
    close();
}

void TForm1::SpeedButton6Click() {
    if (FormDownload == nullptr)
        FormDownload = new TFormDownload(this);
    FormDownload->ShowWithListing(Memo1->toPlainText());
}

void TForm1::SpeedButton7Click() {
    const std::vector<TListingBlock> blocks = ListingBlocksOf(DocumentOps->Program());
    std::vector<std::string> lines;
    const auto show = [&] {
        QStringList text;
        for (const std::string& line : lines)
            text << GbkDecode(line);
        Memo1->setPlainText(text.join(u'\n'));
    };
    try {
        BuildListing(blocks, SimpleXML1, lines);
    } catch (...) {
        // The lines made before the error stay in the pane.
        show();
        throw;
    }
    show();
}

void TForm1::SpeedButton8Click() {
    if (FormAbout == nullptr)
        FormAbout = new TFormAbout(this);
    FormAbout->exec();
}

void TForm1::SpeedButton9Click() {
    const QString path = ChooseFile(TFileDialog::SaveDialog2);
    if (!path.isEmpty())
        WriteListingFile(path, SplitListingLines(Memo1->toPlainText()));
}

void TForm1::SpeedButton10Click() {
    const QString path = ChooseFile(TFileDialog::OpenDialog2);
    if (!path.isEmpty() && QFileInfo::exists(path))
        Memo1->setPlainText(ReadListingFile(path).join(u'\n'));
}

void TForm1::NavBar1ItemClick(int kind) {
    if (const std::optional<std::size_t> index = ChainOps->InsertionIndex())
        InsertNewBlock(kind, *index);
}

void TForm1::InsertNewBlock(int kind, std::size_t index) {
    // The hidden palette items (红外线, 光感) have no record and never act.
    const TBlockKind* info = FindBlockKind(kind);
    if (info && info->HasRecord())
        DocumentOps->InsertBlocks(index, {TProgramBlock{0, kind, BuildDefaultRecord(SimpleXML1, kind)}},
                                  u"插入"_s);
}

void TForm1::FlowChart1DblClick() {
    emit ChartDoubleClicked();
    if (Editor)
        Editor->FlowChart1DblClick();
}
