#include "document/TDocument.h"

#include "blocks/BlockCatalogue.h"
#include "chart/FlowChart.h"
#include "chart/NormalSpot.h"
#include "chart/ProgramChain.h"
#include "files/UserFile.h"
#include "tests/files/SmallDisk.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

const QString Title = u"DEDEVAV流程图(ZR550)------Veltrano"_s;

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A main window in miniature: canvas, chain, listing pane and document.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setApplicationName(Title);
        chain.BuildInitialChain();
        doc.SetPhraseSource([] { return QStringList{u"0.Dabo(*)"_s, u"1.前进"_s}; });
        doc.SetDocumentName(QString());
    }

    // Inserts a block of kind after the last spot.
    TFcObject* Insert(int kind) {
        auto* spot = static_cast<TNormalSpot*>(chain.At(chain.Count() - 2));
        chart.SetSelection(spot->Marker);
        chain.InsertBlock(kind);
        return chain.BlockObjects().back();
    }

    // The program is the truth; the block object only shows it.
    void SetRecord(TFcObject* block, const std::string& record) {
        doc.Program().ReplaceRecord(std::size_t(chain.BlockIndexOf(block)), record);
    }

    QStringList Texts() {
        QStringList texts;
        for (TFcObject* o : chain.BlockObjects())
            texts << u"%1/%2"_s.arg(o->Text()).arg(o->Height());
        return texts;
    }

    QTemporaryDir dir;
    QWidget window;
    TFlowChart chart;
    TSimpleXML scratch;
    TProgramChain chain{&chart, &scratch};
    QPlainTextEdit pane;
    TDocument doc{chain, scratch, &window, &pane};
};

TEST_F(DocumentTest, SaveLoadSaveIsByteIdenticalAndRestoresTextsAndHeights) {
    const QString path = dir.filePath(u"demo.rer"_s);
    TFcObject* label = Insert(11);
    SetRecord(label, "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<CtrlNode type=\"11\">\r\n"
        "  <label>&#xB1;&#xEA;</label>\r\n</CtrlNode>\r\n");
    Insert(1);
    TFcObject* speech = Insert(26);
    SetRecord(speech, "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<CtrlNode type=\"26\">\r\n"
        "  <index>99</index>\r\n</CtrlNode>\r\n");
    Insert(26);
    Insert(12);
    doc.SaveDocument(path);
    const QByteArray first = FileBytes(path);
    EXPECT_EQ(window.windowTitle(), Title + u" - demo.rer[*]"_s);

    doc.NewDocument();
    EXPECT_TRUE(chain.BlockObjects().empty());
    EXPECT_EQ(window.windowTitle(), Title + u"[*]"_s);

    pane.setPlainText(u"10 REM \"DEDEVAV\""_s);
    doc.LoadDocument(path);
    EXPECT_EQ(Texts(), (QStringList{u"标号:标/40"_s, u"直行/32"_s, u"语音: 99/40"_s,
                                    u"语音: 0.Dabo(*)/40"_s, u"无条件跳转/32"_s}));
    EXPECT_TRUE(pane.toPlainText().isEmpty());
    EXPECT_EQ(doc.DocumentName(), path);
    EXPECT_FALSE(doc.IsModified());

    const QString again = dir.filePath(u"again.rer"_s);
    doc.SaveDocument(again);
    EXPECT_EQ(FileBytes(again), first);
}

TEST_F(DocumentTest, InsertThenDeleteIsNotAModification) {
    doc.SaveDocument(dir.filePath(u"a.rer"_s));
    TFcObject* block = Insert(5);
    EXPECT_TRUE(doc.IsModified());
    chain.DeleteBlock(block);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentTest, SaveQuestionDecisionTable) {
    // No block: never asks, named or not.
    EXPECT_FALSE(doc.SaveQuestion());
    // Unnamed with a block: always asks the first question.
    Insert(1);
    EXPECT_EQ(doc.SaveQuestion(), u"流程图文件的内容已经被更改,\r\n是否保存更改?"_s);
    // Named and unchanged: no question; after a change the second, with the path.
    const QString path = dir.filePath(u"named.rer"_s);
    doc.SaveDocument(path);
    EXPECT_FALSE(doc.SaveQuestion());
    Insert(2);
    EXPECT_EQ(doc.SaveQuestion(), u"流程图文件%1的内容已经被更改,\r\n是否保存更改?"_s.arg(path));
}

TEST_F(DocumentTest, FailedLoadLeavesTheOpenChartUntouched) {
    const QString good = dir.filePath(u"good.rer"_s);
    Insert(1);
    Insert(5);
    doc.SaveDocument(good);
    Insert(9);
    pane.setPlainText(u"listing"_s);
    const QStringList before = Texts();

    const QString corrupt = dir.filePath(u"corrupt.rer"_s);
    WriteBytes(
        corrupt,
        "<?xml version=\"1.0\"?>\r\n<VAZIREZA><record><CtrlNode type=1/></record></VAZIREZA>");
    EXPECT_THROW(doc.LoadDocument(corrupt), ESimpleXMLError);
    EXPECT_THROW(doc.LoadDocument(dir.filePath(u"missing.rer"_s)), EFileError);
    // Each says in Chinese what happened before the technical words.
    for (const QString& name : {corrupt, dir.filePath(u"missing.rer"_s)}) {
        try {
            doc.LoadDocument(name);
        } catch (const EFileError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(u"无法打开流程图文件"_s)) << e.what();
        } catch (const ESimpleXMLError& e) {
            const QString text = QString::fromUtf8(e.what());
            EXPECT_TRUE(text.startsWith(u"无法打开流程图文件“%1”：文件内容有错误"_s.arg(name)))
                << e.what();
            EXPECT_TRUE(text.contains(u"Invalid"_s)) << e.what();
        }
    }

    EXPECT_EQ(Texts(), before);
    EXPECT_EQ(doc.DocumentName(), good);
    EXPECT_EQ(window.windowTitle(), Title + u" - good.rer[*]"_s);
    EXPECT_EQ(pane.toPlainText(), u"listing"_s);
    EXPECT_EQ(chart.UpdateCount(), 0);
    EXPECT_TRUE(doc.IsModified()); // the snapshot is still the saved file's
    // The corrupt file's header does not reach the next save.
    doc.SaveDocument(good);
    EXPECT_TRUE(FileBytes(good).startsWith(
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<VAZIREZA>"));
}

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileNameAndSnapshot) {
    const QString path = dir.filePath(u"keep.rer"_s);
    Insert(1);
    doc.SaveDocument(path);
    const QByteArray old = FileBytes(path);
    for (int i = 0; i < 200; ++i)
        Insert(6);

    // A file size limit makes the write fail part way, as a full disk would.
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(doc.SaveDocument(path), EFileError);
    EXPECT_THROW(doc.SaveDocument(dir.filePath(u"other.rer"_s)), EFileError);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(doc.DocumentName(), path);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"keep.rer"_s});
}

TEST_F(DocumentTest, SaveToAFullDiskKeepsTheOldFileTheNameAndTheSnapshot) {
    TSmallDisk disk;
    if (!disk.IsMounted())
        GTEST_SKIP() << disk.Why.toStdString();
    const QString path = disk.FilePath(u"chart.rer"_s);
    Insert(1);
    doc.SaveDocument(path);
    const QByteArray old = FileBytes(path);
    for (int i = 0; i < 100; ++i)
        Insert(6);
    disk.Fill();
    // Save, and Save As under a new name: neither pretends to have saved.
    for (const QString& target : {path, disk.FilePath(u"new.rer"_s)}) {
        try {
            doc.SaveDocument(target);
            ADD_FAILURE() << "saved " << target.toStdString();
        } catch (const EUserFileError& e) {
            EXPECT_EQ(e.Kind, EUserFileError::TKind::DiskFull);
        }
    }
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(disk.Names(), QStringList{u"chart.rer"_s});
    EXPECT_EQ(doc.DocumentName(), path);
    EXPECT_EQ(window.windowTitle(), Title + u" - chart.rer[*]"_s);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, OpeningADamagedFileSaysWhatIsMissing) {
    const QByteArray whole =
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<VAZIREZA>\r\n  <record>\r\n"
        "    <CtrlNode type=\"11\">\r\n      <label>&#xB1;&#xEA;</label>\r\n"
        "    </CtrlNode>\r\n  </record>\r\n</VAZIREZA>\r\n";
    const struct {
        const char* Name;
        QByteArray Bytes;
        const char16_t* Says; // empty: no warning
    } cases[] = {
        {"whole", whole, u""},
        {"an empty chart", "<VAZIREZA/>", u""},
        {"cut in a label", whole.left(whole.indexOf("&#xEA;") + 4), u"文件在中途就结束了"},
        {"cut after a record", whole.left(whole.indexOf("</VAZIREZA>")), u"文件在中途就结束了"},
        {"empty file", "", u"文件中没有任何流程图内容"},
        {"prolog only", "<?xml version=\"1.0\"?>\r\n", u"文件中没有任何流程图内容"},
        {"unknown type",
         "<VAZIREZA><record><CtrlNode type=\"99\"/></record><record/></VAZIREZA>",
         u"有 2 个模块记录无法载入"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = dir.filePath(u"damaged.rer"_s);
        WriteBytes(path, c.Bytes);
        const QString warning = doc.LoadDocument(path);
        const QString says = QString::fromUtf16(c.Says);
        if (says.isEmpty()) {
            EXPECT_TRUE(warning.isEmpty()) << warning.toStdString();
        } else {
            EXPECT_TRUE(warning.startsWith(u"文件不完整，可能已损坏：只打开了能读出的部分"_s))
                << warning.toStdString();
            EXPECT_TRUE(warning.contains(says)) << warning.toStdString();
        }
        // What the reader read is opened all the same, as before.
        EXPECT_EQ(doc.DocumentName(), path);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
