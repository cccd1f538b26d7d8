#include "document/TDocument.h"

#include "blocks/BlockCatalogue.h"
#include "chart/ProgramChain.h"
#include "document/FlowchartFile.h"
#include "document/ProgramCommands.h"
#include "files/UserFile.h"
#include "gbk/GbkText.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QWidget>

#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;


std::string ReadChartFile(const QString& path) {
    const QByteArray bytes = ReadUserFile(path, ChartFileWhat());
    return std::string(bytes.constData(), size_t(bytes.size()));
}

void ParseChartText(TSimpleXML& doc, std::string_view text, const QString& path) {
    try {
        doc.ReadText(text);
    } catch (const ESimpleXMLError& e) {
        // The parser's own words stay, for whoever mends the file.
        throw ESimpleXMLError(
            u"无法打开流程图文件“%1”：文件内容有错误，它可能已损坏，或者不是流程图文件。%2"_s
                .arg(QDir::toNativeSeparators(path), MessageTextOf(e.what()))
                .toStdString());
    }
}

QString ChartFileWhat() {
    return u"流程图文件"_s;
}

QString ChartDamageText(const TFileDamage& damage) {
    if (!damage.Any())
        return QString();
    QStringList details;
    if (damage.NoElement)
        details << u"文件中没有任何流程图内容"_s;
    if (damage.EndedInsideElement)
        details << u"文件在中途就结束了"_s;
    if (damage.SkippedRecords > 0)
        details << u"有 %1 个模块记录无法载入，已跳过"_s.arg(damage.SkippedRecords);
    return u"文件不完整，可能已损坏：只打开了能读出的部分（%1）。请检查流程图，"
           u"保存时请用新的文件名，以免覆盖原来的文件。"_s.arg(details.join(u"；"_s));
}

QString DocumentCaption(const QString& path) {
    const QString title = QApplication::applicationName();
    if (path.isEmpty())
        return title;
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return u"%1 - %2"_s.arg(title, path.mid(slash + 1));
}

TDocument::TDocument(TProgramChain& chain, TSimpleXML& scratch, QWidget* window,
                     QPlainTextEdit* pane)
    : Chain(chain), SimpleXML1(scratch), Window(window), Pane(pane) {
    Chain.SetProgram(&Model);
    QObject::connect(&Stack, &QUndoStack::indexChanged, [this] { ShowModified(); });
    SetDocumentName(QString());
    TakeSnapshot();
}

TDocument::~TDocument() {
    // The commands and the chain refer to the model: both let go first.
    Stack.clear();
    Chain.SetProgram(nullptr);
}

void TDocument::SetPhraseSource(TPhraseSource source) {
    Chain.SetPhraseSource(std::move(source));
}

void TDocument::InsertBlocks(std::size_t index, std::vector<TProgramBlock> blocks,
                             const QString& verb) {
    if (blocks.empty())
        return;
    Stack.push(new TInsertBlocksCommand(Chain, index, std::move(blocks), verb));
}

void TDocument::RemoveBlocks(std::size_t first, std::size_t count, const QString& verb) {
    if (count == 0)
        return;
    Stack.push(new TRemoveBlocksCommand(Chain, first, count, verb));
}

void TDocument::EditRecord(std::size_t index, std::string record) {
    if (Model.At(index).Record == record)
        return;
    Stack.push(new TEditRecordCommand(Chain, index, std::move(record)));
}

void TDocument::MoveBlocks(std::size_t first, std::size_t count, std::size_t to) {
    if (count == 0 || first == to)
        return;
    Stack.push(new TMoveBlocksCommand(Chain, first, count, to));
}

void TDocument::SetDocumentName(const QString& path) {
    Name = path;
    // The toolkit shows the unsaved mark where the placeholder stands.
    if (Window)
        Window->setWindowTitle(DocumentCaption(path) + u"[*]"_s);
}

void TDocument::ShowModified() {
    if (Window)
        Window->setWindowModified(IsModified());
}

std::vector<std::string> TDocument::RecordTexts() const {
    std::vector<std::string> texts;
    texts.reserve(Model.Count());
    for (const TProgramBlock& block : Model.AllBlocks())
        texts.push_back(block.Record);
    return texts;
}

void TDocument::BuildFileTree(TSimpleXML& doc) {
    ::BuildFileTree(doc, SimpleXML1, RecordTexts());
}

bool TDocument::IsModified() {
    // The same records write the same bytes; only when they differ is the
    // file built and compared (records that read alike print alike).
    const std::vector<TProgramBlock>& blocks = Model.AllBlocks();
    if (blocks.size() == SnapshotRecords.size() &&
        std::equal(blocks.begin(), blocks.end(), SnapshotRecords.begin(),
                   [](const TProgramBlock& b, const std::string& r) { return b.Record == r; }))
        return false;
    BuildFileTree(SimpleXML4);
    return SimpleXML3.WriteText() != SimpleXML4.WriteText();
}

void TDocument::TakeSnapshot() {
    SnapshotRecords = RecordTexts();
    BuildFileTree(SimpleXML3);
    ShowModified();
}

void TDocument::SaveDocument(const QString& path) {
    BuildFileTree(SimpleXML2);
    const std::string text = SimpleXML2.WriteText();
    // Replaced only once the new content is on disk: a failed save leaves
    // the old file, the name and the snapshot as they were.
    WriteUserFile(path, QByteArrayView(text.data(), qsizetype(text.size())), ChartFileWhat());
    SetDocumentName(path);
    TakeSnapshot();
}

QString TDocument::LoadDocument(const QString& path) {
    // Read and parse before anything changes: a file that fails leaves the open
    // chart, its name and its snapshot as they were.
    const std::string text = ReadChartFile(path);
    // The file document keeps the prolog of the file it read for later saves;
    // a file that does not parse must not leave its half-read prolog there.
    const std::string previous = SimpleXML2.WriteText();
    try {
        ParseChartText(SimpleXML2, text, path);
    } catch (...) {
        SimpleXML2.ReadText(previous);
        throw;
    }
    int skipped = 0;
    const std::vector<std::pair<int, std::string>> loaded =
        ProgramOfFileTree(SimpleXML2, SimpleXML1, &skipped);
    const QString damage = ChartDamageText(FileDamageOf(SimpleXML2, skipped));
    if (Pane)
        Pane->clear();
    // The chain rebuilds itself, in one canvas update.
    Model.Reset(loaded);
    Stack.clear();
    SetDocumentName(path);
    TakeSnapshot();
    return damage;
}

void TDocument::NewDocument() {
    SetDocumentName(QString());
    Model.Reset({});
    if (Pane)
        Pane->clear();
    Stack.clear();
    TakeSnapshot();
}

std::optional<QString> TDocument::SaveQuestion() {
    const bool modified = IsModified();
    if (Model.Empty())
        return std::nullopt;
    if (Name.isEmpty())
        return u"流程图文件的内容已经被更改,\r\n是否保存更改?"_s;
    if (modified)
        return u"流程图文件%1的内容已经被更改,\r\n是否保存更改?"_s.arg(Name);
    return std::nullopt;
}
