#include "app/Unit1.h"

#include "app/Application.h"
#include "app/frmAbout.h"
#include "blocks/dialogs/frmVOICEX.h"
#include "blocks/editing/BlockEditor.h"
#include "codegen/BuildListing.h"
#include "document/ListingFile.h"
#include "document/TDocument.h"
#include "download/frmDownload.h"
#include "gbk/GbkText.h"

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
    SpeedButton7 = MakeSpeedButton(7, 362, u"编译"_s);
    SpeedButton6 = MakeSpeedButton(6, 394, u"下载"_s);
    SpeedButton10 = MakeSpeedButton(10, 474, u"导入清单"_s);
    SpeedButton9 = MakeSpeedButton(9, 506, u"导出清单"_s);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &TForm1::SpeedButton7Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &TForm1::SpeedButton8Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &TForm1::SpeedButton9Click);
    connect(SpeedButton10, &QToolButton::clicked, this, &TForm1::SpeedButton10Click);
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
    FlowChart1->OnDblClick = [this](TCustomFlowChart*) { FlowChart1DblClick(); };
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

    connect(NavBar1, &TNavBar::ItemClicked, this, &TForm1::NavBar1ItemClick);
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

QToolButton* TForm1::MakeSpeedButton(int number, int left, const QString& command) {
    auto* button = new QToolButton(Panel1);
    button->setObjectName(u"SpeedButton%1"_s.arg(number));
    button->setGeometry(left, 2, 32, 32);
    // The pictures alone do not say what a button does.
    button->setToolTip(command);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(32, 32));
    button->setIcon(
        QIcon(RenderSvg(u":/icons/toolbar/SpeedButton%1.svg"_s.arg(number), QSize(32, 32))));
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

void TForm1::SetDialogs(const TBlockDialogs& dialogs) {
    Dialogs = dialogs;
    Editor = std::make_unique<TBlockEditor>(*ChainOps, SimpleXML1, Dialogs);
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
    std::vector<TListingBlock> blocks;
    for (const TFcObject* object : ChainOps->BlockObjects())
        blocks.push_back({object->TagCode, object->DataText});
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
    if (kind == 7 || kind == 8)
        return;
    ChainOps->InsertBlock(kind);
}

void TForm1::FlowChart1DblClick() {
    emit ChartDoubleClicked();
    if (Editor)
        Editor->FlowChart1DblClick();
}
