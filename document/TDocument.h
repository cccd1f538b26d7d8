#pragma once

// The chart as a document: saving it to a .rer file, loading one in its place,
// the modified test against the snapshot taken at the last new, save or load,
// and the document name shown in the window caption. The main window owns one
// and calls it from its toolbar commands.

#include "program/Program.h"
#include "xml/SimpleXML.h"

#include <QString>
#include <QStringList>
#include <QUndoStack>

#include <functional>
#include <optional>
#include <string>

class QPlainTextEdit;
class QWidget;
class TProgramChain;

class TDocument {
public:
    using TPhraseSource = std::function<QStringList()>;

    // window gets the caption, pane is the listing pane that New and Load clear,
    // scratch is the record scratch document shared with the other commands.
    // The chain becomes the view of the document's program.
    TDocument(TProgramChain& chain, TSimpleXML& scratch, QWidget* window, QPlainTextEdit* pane);
    ~TDocument();
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;

    // The chart's program and the undo stack of its edits.
    TProgram& Program() { return Model; }
    const TProgram& Program() const { return Model; }
    QUndoStack& UndoStack() { return Stack; }

    // The edits, each one command on the undo stack. verb names the edit in
    // the undo text ("插入", "删除", "粘贴"). An edit that changes nothing
    // pushes nothing.
    void InsertBlocks(std::size_t index, std::vector<TProgramBlock> blocks, const QString& verb);
    void RemoveBlocks(std::size_t first, std::size_t count, const QString& verb);
    void EditRecord(std::size_t index, std::string record);
    void MoveBlocks(std::size_t first, std::size_t count, std::size_t to);


    // The voice phrases that label speech blocks on load.
    void SetPhraseSource(TPhraseSource source);

    const QString& DocumentName() const { return Name; }
    void SetDocumentName(const QString& path);

    void BuildFileTree(TSimpleXML& doc);
    // Marks the window's caption while the chart differs from the one last
    // saved or opened.
    void ShowModified();
    bool IsModified();
    void TakeSnapshot();
    // Throws when the file cannot be written; the old file, the name and the
    // snapshot then stay as they were.
    void SaveDocument(const QString& path);
    // Throws when the file cannot be read or parsed; the open chart, its name,
    // the caption, the listing pane and the snapshot then stay as they were.
    // Answers the warning for a file that was not whole (ChartDamageText),
    // empty when it was.
    QString LoadDocument(const QString& path);
    void NewDocument();

    // The question the save-changes prompt asks before New and Open, or none
    // when the command may go on without asking.
    std::optional<QString> SaveQuestion();

    TSimpleXML SimpleXML2; // file document
    TSimpleXML SimpleXML3; // snapshot
    TSimpleXML SimpleXML4; // comparison

private:
    std::vector<std::string> RecordTexts() const;

    TProgramChain& Chain;
    TProgram Model;
    QUndoStack Stack;
    std::vector<std::string> SnapshotRecords;
    TSimpleXML& SimpleXML1;
    QWidget* Window;
    QPlainTextEdit* Pane;
    QString Name;
};

// The caption for a document path: the application title alone, or the title,
// " - " and the file name part of the path.
QString DocumentCaption(const QString& path);

// The whole content of a chart file, as Open reads it. Throws
// EUserFileError when the file cannot be read, is no regular file or is far
// too large for a chart.
std::string ReadChartFile(const QString& path);

// Parses a chart file's text into doc. A parse error is raised again with a
// Chinese sentence naming the file before the parser's own text.
void ParseChartText(TSimpleXML& doc, std::string_view text, const QString& path);

// "流程图文件", the name of a chart file in messages.
QString ChartFileWhat();

struct TFileDamage;
// The warning shown after opening a file that was not whole, or empty.
QString ChartDamageText(const TFileDamage& damage);
