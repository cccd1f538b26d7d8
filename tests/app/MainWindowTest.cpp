#include "app/Application.h"
#include "app/Unit1.h"
#include "app/frmAbout.h"
#include "document/TDocument.h"
#include "chart/NormalSpot.h"
#include "tests/support/ToolTipProbe.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// Never destroyed: tearing Qt down from a static destructor crashes at exit.
TApplication& App() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static TApplication* app = new TApplication(argc, argv);
    return *app;
}

// Closes the next modal window once it is up and reports its caption and text.
struct TModalCloser {
    QString Caption;
    QString Text;
    QSize ClientSize;
    void Arm() {
        QTimer::singleShot(0, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            Caption = modal->windowTitle();
            ClientSize = modal->size();
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                Text = box->text();
            modal->close();
        });
    }
};

TEST(ErrorMessageText, FullStopAfterCharactersThatSortAfterIt) {
    struct Case {
        QString Message, Shown;
    } cases[] = {
        {u"无法打开文件"_s, u"无法打开文件."_s},
        {u"Invalid value"_s, u"Invalid value."_s},
        {u"Line 3"_s, u"Line 3."_s},
        {u"Done."_s, u"Done."_s},
        {u"Stop!"_s, u"Stop!"_s},
        {u"a-b,"_s, u"a-b,"_s},
        // A Chinese sentence ends in its own full stop: never "。."
        {u"无法下载。"_s, u"无法下载。"_s},
        {u"仍要下载吗？"_s, u"仍要下载吗？"_s},
        {u"注意！"_s, u"注意！"_s},
        {u"（Is a directory）"_s, u"（Is a directory）."_s},
        {QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorMessageText(c.Message), c.Shown) << c.Message.toStdString();
}

TEST(ExceptionMessageText, RunningOutOfMemoryIsSaidInChinese) {
    EXPECT_EQ(ExceptionMessageText(std::bad_alloc()),
              u"内存不足，操作没有完成。请关闭其他程序或减小文件后再试。"_s);
    EXPECT_EQ(ExceptionMessageText(std::runtime_error("无法写入")), u"无法写入"_s);
}

TEST(ExceptionMessageText, ReadsUtf8AndGbk) {
    EXPECT_EQ(ExceptionMessageText("plain"), u"plain"_s);
    EXPECT_EQ(ExceptionMessageText("\xe6\x96\x87\xe4\xbb\xb6"), u"文件"_s);
    EXPECT_EQ(ExceptionMessageText("\xce\xc4\xbc\xfe"), u"文件"_s);
}

TEST(TApplication, EscapedErrorIsShownAndTheProgramGoesOn) {
    App();
    QWidget target;
    class TThrower : public QObject {
    public:
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User)
                throw std::runtime_error("无法写入文件");
            return QObject::event(e);
        }
    } thrower;
    TModalCloser closer;
    closer.Arm();
    QEvent event(QEvent::User);
    EXPECT_FALSE(QApplication::sendEvent(&thrower, &event));
    EXPECT_EQ(closer.Caption, ApplicationTitle());
    EXPECT_EQ(closer.Text, u"无法写入文件."_s);
}

TEST(ToolkitTranslation, QtsOwnTextsAreChinese) {
    App();
    ASSERT_TRUE(InstallToolkitTranslation(App()));
    QMessageBox box(QMessageBox::Warning, ApplicationTitle(), u"是否保存更改?"_s,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    const std::pair<QMessageBox::StandardButton, QString> buttons[] = {
        {QMessageBox::Yes, u"是(&Y)"_s}, {QMessageBox::No, u"否(&N)"_s},
        {QMessageBox::Cancel, u"取消"_s}};
    for (const auto& [button, text] : buttons)
        EXPECT_EQ(box.button(button)->text(), text);
    QPlainTextEdit edit(u"DEDEVAV"_s);
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text().section(u'\t', 0, 0); // without the shortcut
    EXPECT_TRUE(items.contains(u"复制(&C)"_s)) << items.join(u' ').toStdString();
    QFileDialog files(nullptr, QString(), QDir::tempPath(), u"流程图文件(*.rer)"_s);
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(files.labelText(QFileDialog::FileName), u"文件名称(&N)："_s);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { App(); }
};

TEST_F(MainWindowTest, StartUpState) {
    QDir::setCurrent(QDir::tempPath());
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), ApplicationTitle() + u"[*]"_s);
    EXPECT_EQ(QDir::currentPath(), QDir(QCoreApplication::applicationDirPath()).absolutePath());
    EXPECT_TRUE(form.DocumentName().isEmpty());
    ASSERT_NE(form.Chain(), nullptr);
    EXPECT_EQ(form.Chain()->Count(), 3);
    EXPECT_EQ(form.FlowChart1->ObjectCount(), 6);
    auto* spot = dynamic_cast<TNormalSpot*>(form.Chain()->At(1));
    ASSERT_NE(spot, nullptr);
    EXPECT_EQ(form.FlowChart1->Selection(), spot->Marker);
    EXPECT_TRUE(form.Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(form.Memo1->isReadOnly());
    EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(form.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form.FlowChart1->Color(), clSkyBlue);
    EXPECT_EQ(form.FlowChart1->Images().size(), 1);
    EXPECT_EQ(form.FlowChart1->Images().front().size(), QSize(32, 31));
    EXPECT_EQ(form.FlowChart1->Options(), fcoCanDrag | fcoCanSelect);
}

TEST_F(MainWindowTest, Layout) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.size(), QSize(618, 463));
    EXPECT_EQ(form.Panel1->height(), 37);
    EXPECT_EQ(form.Panel1->width(), form.centralWidget()->width());
    const std::pair<QToolButton*, int> buttons[] = {
        {form.SpeedButton1, 2},   {form.SpeedButton2, 34},  {form.SpeedButton3, 66},
        {form.SpeedButton4, 98},  {form.SpeedButton5, 138}, {form.SpeedButton8, 170},
        {form.SpeedButton7, 362}, {form.SpeedButton6, 394}, {form.SpeedButton10, 474},
        {form.SpeedButton9, 506}};
    for (const auto& [button, left] : buttons) {
        EXPECT_EQ(button->geometry(), QRect(left, 2, 32, 32)) << button->objectName().toStdString();
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_TRUE(button->autoRaise());
    }
    EXPECT_EQ(form.NavBar1->width(), 145);
    EXPECT_EQ(form.NavBar1->x(), 0);
    EXPECT_EQ(form.FlowChart1->width(), 282);
    EXPECT_EQ(form.Splitter1->handleWidth(), 5);
    EXPECT_EQ(form.Memo1->geometry().left(), form.FlowChart1->geometry().right() + 1 + 5);
}

TEST_F(MainWindowTest, EveryToolbarButtonNamesItsCommandWhenHovered) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const std::pair<QToolButton*, QString> buttons[] = {
        {form.SpeedButton1, u"新建"_s},     {form.SpeedButton2, u"打开"_s},
        {form.SpeedButton3, u"保存"_s},     {form.SpeedButton4, u"另存为"_s},
        {form.SpeedButton5, u"退出"_s},     {form.SpeedButton6, u"下载"_s},
        {form.SpeedButton7, u"编译"_s},     {form.SpeedButton8, u"关于"_s},
        {form.SpeedButton9, u"导出清单"_s}, {form.SpeedButton10, u"导入清单"_s}};
    for (const auto& [button, command] : buttons)
        EXPECT_EQ(ToolTipShownOn(button), command) << button->objectName().toStdString();
}

TEST_F(MainWindowTest, AWiderWindowWidensTheChartAndTheListingKeepsASensibleWidth) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const int besidePalette = 145 + 5;
    struct TCase {
        int WindowWidth, ChartWidth, ListingWidth;
    } cases[] = {
        {1280, 1280 - besidePalette - 300, 300},
        {900, 900 - besidePalette - 300, 300},
        {700, 282, 700 - besidePalette - 282},
        {618, 282, 618 - besidePalette - 282},
        {1600, 1600 - besidePalette - 300, 300},
    };
    for (const TCase& c : cases) {
        form.resize(c.WindowWidth, 700);
        QCoreApplication::processEvents();
        EXPECT_EQ(form.FlowChart1->width(), c.ChartWidth) << c.WindowWidth;
        EXPECT_EQ(form.Memo1->width(), c.ListingWidth) << c.WindowWidth;
    }
    // A width the user gives the listing by dragging the splitter stays.
    QSplitterHandle* handle = form.Splitter1->handle(1);
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip - QPoint(200, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(200, 0));
    const int dragged = form.Memo1->width();
    EXPECT_EQ(dragged, 500);
    form.resize(1400, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.Memo1->width(), dragged);
    EXPECT_EQ(form.FlowChart1->width(), 1400 - besidePalette - dragged);
}

TEST_F(MainWindowTest, ANarrowWindowKeepsEveryToolbarButtonWhole) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // Toolbar order, left to right.
    QToolButton* const buttons[] = {form.SpeedButton1, form.SpeedButton2, form.SpeedButton3,
                                    form.SpeedButton4, form.SpeedButton5, form.SpeedButton8,
                                    form.SpeedButton7, form.SpeedButton6, form.SpeedButton10,
                                    form.SpeedButton9};
    for (const int width : {600, 540, 500, 480, 300}) {
        form.resize(width, 400);
        QCoreApplication::processEvents();
        EXPECT_GE(form.width(), 480) << width;
        EXPECT_LE(form.width(), std::max(width, 480)) << width;
        const QRect strip = form.Panel1->rect();
        int right = -1;
        for (QToolButton* button : buttons) {
            const std::string name = std::to_string(width) + " " + button->objectName().toStdString();
            EXPECT_TRUE(button->isVisibleTo(&form)) << name;
            EXPECT_EQ(button->size(), QSize(32, 32)) << name;
            EXPECT_TRUE(strip.contains(button->geometry())) << name;
            EXPECT_GE(button->x(), right + 1) << name; // in order, none over another
            right = button->geometry().right();
        }
        // The chart and the listing keep room to work in.
        EXPECT_GE(form.FlowChart1->width(), TForm1::ChartMinWidth) << width;
        EXPECT_GE(form.Memo1->width(), TForm1::ListingMinWidth) << width;
    }
    EXPECT_GE(form.minimumSize().height(), 360);
}

TEST_F(MainWindowTest, PaletteClickInsertsAfterTheSelectedSpot) {
    TForm1 form;
    form.NavBar1->ItemButton(1)->click();
    ASSERT_EQ(form.Chain()->Count(), 5);
    const std::vector<TFcObject*> blocks = form.Chain()->BlockObjects();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0]->Text(), u"直行"_s);
    EXPECT_EQ(blocks[0]->Top(), 80);
    EXPECT_EQ(form.FlowChart1->Selection(), blocks[0]);
    form.NavBar1ItemClick(7);
    form.NavBar1ItemClick(8);
    EXPECT_EQ(form.Chain()->Count(), 5);
}

TEST_F(MainWindowTest, DoubleClickOnTheCanvasIsForwarded) {
    TForm1 form;
    form.show();
    int seen = 0;
    QObject::connect(&form, &TForm1::ChartDoubleClicked, [&] { ++seen; });
    QTest::mouseDClick(form.FlowChart1->viewport(), Qt::LeftButton, {}, QPoint(115, 30));
    EXPECT_EQ(seen, 1);
}

// Closing with unsaved changes asks first: Cancel keeps the window, No
// closes; without blocks nothing is asked.
TEST_F(MainWindowTest, CloseAsksAboutUnsavedChanges) {
    TForm1 form;
    form.show();
    QStringList asked;
    int answer = QMessageBox::Cancel;
    form.AskQuestion = [&](const QString& q) { return asked << q, answer; };
    form.SpeedButton5->click();
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_FALSE(form.isVisible());

    form.show();
    form.NavBar1->ItemButton(1)->click();
    form.SpeedButton5->click();
    EXPECT_EQ(asked, QStringList{u"流程图文件的内容已经被更改,\r\n是否保存更改?"_s});
    EXPECT_TRUE(form.isVisible());
    answer = QMessageBox::No;
    form.close();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, NewAsksAndFollowsTheAnswer) {
    TForm1 form;
    int answer = QMessageBox::Cancel;
    int saveDialogs = 0;
    form.AskQuestion = [&](const QString&) { return answer; };
    form.ChooseFile = [&](TForm1::TFileDialog) { return ++saveDialogs, QString(); };
    form.NavBar1->ItemButton(1)->click();
    form.SpeedButton1Click();
    EXPECT_EQ(form.Chain()->BlockObjects().size(), 1u); // Cancel keeps the chart
    answer = QMessageBox::Yes;
    form.SpeedButton1Click();
    // Yes opens the save dialog; cancelling it cancels New, so nothing is lost.
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(form.Chain()->BlockObjects().size(), 1u);
    answer = QMessageBox::No;
    form.SpeedButton1Click();
    EXPECT_TRUE(form.Chain()->BlockObjects().empty());
}

TEST_F(MainWindowTest, CompileExportImportAndSaveOpen) {
    QTemporaryDir dir;
    TForm1 form;
    QString chosen;
    form.ChooseFile = [&](TForm1::TFileDialog) { return chosen; };
    form.AskQuestion = [](const QString&) { return int(QMessageBox::No); };
    form.NavBar1->ItemButton(1)->click();
    form.Document()->Program().ReplaceRecord(0,
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<CtrlNode type=\"1\">\r\n"
        "  <mode>2</mode>\r\n  <wait>100</wait>\r\n</CtrlNode>\r\n");
    form.SpeedButton7Click();
    EXPECT_EQ(form.Memo1->toPlainText(), u"10 REM \"DEDEVAV\"\n20 REM \"FD 100\""_s);

    // Export and import give back the same lines, Chinese included.
    form.Memo1->appendPlainText(u"30 REM \"' 标号\""_s);
    const QString listing = form.Memo1->toPlainText();
    chosen = dir.filePath(u"a.txt"_s);
    form.SpeedButton9Click();
    form.Memo1->clear();
    form.SpeedButton10Click();
    EXPECT_EQ(form.Memo1->toPlainText(), listing);

    // Only .rer names are saved, and a refusal is said; after Open the pane
    // is empty.
    QStringList warnings;
    form.ShowWarning = [&](const QString& text) { warnings << text; };
    chosen = dir.filePath(u"demo.xml"_s);
    form.SpeedButton4Click();
    EXPECT_TRUE(form.DocumentName().isEmpty());
    EXPECT_EQ(warnings.size(), 1);
    EXPECT_FALSE(QFile::exists(chosen));
    chosen = dir.filePath(u"DEMO.RER"_s);
    form.SpeedButton4Click();
    EXPECT_EQ(form.DocumentName(), chosen);
    EXPECT_EQ(form.windowTitle(), ApplicationTitle() + u" - DEMO.RER[*]"_s);
    form.SpeedButton1Click();
    form.SpeedButton2Click();
    EXPECT_EQ(form.Chain()->BlockObjects().size(), 1u);
    EXPECT_TRUE(form.Memo1->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, SaveAsNamesAndOpenNamesNeverDoNothingSilently) {
    QTemporaryDir dir;
    TForm1 form;
    QString chosen;
    QStringList warnings;
    form.ChooseFile = [&](TForm1::TFileDialog) { return chosen; };
    form.ShowWarning = [&](const QString& text) { warnings << text; };
    form.NavBar1->ItemButton(1)->click();
    const struct {
        const char* Typed;
        const char* Saved; // empty: refused with a warning
    } cases[] = {
        {"mychart", "mychart.rer"},
        {"lesson.RER", "lesson.RER"},
        {"mychart.bak", ""},
        {"chart.rer.txt", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        warnings.clear();
        chosen = dir.filePath(QString::fromUtf8(c.Typed));
        form.SpeedButton4Click();
        if (*c.Saved) {
            EXPECT_EQ(form.DocumentName(), dir.filePath(QString::fromUtf8(c.Saved)));
            EXPECT_TRUE(QFile::exists(form.DocumentName()));
            EXPECT_TRUE(warnings.isEmpty());
        } else {
            EXPECT_EQ(warnings.size(), 1);
            EXPECT_TRUE(warnings.value(0).contains(u".rer"_s));
            EXPECT_FALSE(QFile::exists(chosen));
        }
    }
    // A chart named on the command line that is not there, or not a chart.
    EXPECT_THROW(form.OpenChart(dir.filePath(u"missing.rer"_s)), EFileError);
    EXPECT_THROW(form.OpenChart(dir.filePath(u"chart.rer.txt"_s)), EFileError);
    try {
        form.OpenChart(dir.filePath(u"missing.rer"_s));
    } catch (const EFileError& e) {
        EXPECT_TRUE(ExceptionMessageText(e).startsWith(u"找不到流程图文件"_s));
    }
}

TEST_F(MainWindowTest, AnOpenedChartShowsItsTop) {
    QTemporaryDir dir;
    TForm1 form;
    form.resize(618, 463);
    form.show();
    const QString chosen = dir.filePath(u"long.rer"_s);
    QByteArray chart = "<VAZIREZA>";
    for (int i = 0; i < 40; ++i)
        chart += "<record><CtrlNode type=\"1\"><mode>2</mode><wait>100</wait></CtrlNode></record>";
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(chart + "</VAZIREZA>");
    file.close();
    form.ChooseFile = [&](TForm1::TFileDialog) { return chosen; };
    form.OpenChart(chosen);
    QScrollBar* bar = form.FlowChart1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    form.SpeedButton2Click();
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(MainWindowTest, AboutShowsTheVersionOfTheCommandLine) {
    TFormAbout about;
    bool found = false;
    for (const QLabel* label : about.findChildren<QLabel*>())
        found = found || label->text().trimmed() == u"版本:"_s + QStringLiteral(DEDEVAV_VERSION);
    EXPECT_TRUE(found);
}

TEST_F(MainWindowTest, FileDialogsStartInTheDocumentsFolderThenWhereTheUserWent) {
    // The program's own folder, current since start-up, holds qxvoc.txt and
    // the program itself: no dialog may start there.
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u".config"_s)));
    QDir(home.path()).mkpath(u"charts"_s);
    for (const bool haveDocuments : {true, false}) {
        const QString documents = home.filePath(u"Documents"_s);
        haveDocuments ? QDir().mkpath(documents) : QDir(documents).removeRecursively();
        TForm1 form;
        form.Memo1->setPlainText(u"10 REM \"DEDEVAV\""_s);
        QStringList startedIn;
        const auto answer = [&](const QString& file) {
            QTimer::singleShot(0, [&, file] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                ASSERT_NE(dialog, nullptr);
                startedIn << QDir(dialog->directory()).absolutePath();
                if (file.isEmpty()) {
                    dialog->reject();
                } else {
                    dialog->selectFile(file);
                    static_cast<QDialog*>(dialog)->accept(); // as the accept button does
                }
            });
        };
        const QString exported = home.filePath(haveDocuments ? u"charts/a.txt"_s : u"charts/b.txt"_s);
        answer(exported);
        form.SpeedButton9Click(); // export
        answer(QString());
        form.SpeedButton2Click(); // open
        const QStringList expected = {haveDocuments ? documents : QDir(home.path()).absolutePath(),
                                      home.filePath(u"charts"_s)};
        EXPECT_EQ(startedIn, expected) << haveDocuments;
        EXPECT_TRUE(QFile::exists(exported));
        EXPECT_EQ(QDir::currentPath(), QDir(QCoreApplication::applicationDirPath()).absolutePath());
    }
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

TEST_F(MainWindowTest, AboutIsShownModally) {
    TForm1 form;
    form.show();
    TModalCloser closer;
    closer.Arm();
    form.SpeedButton8->click();
    EXPECT_EQ(closer.Caption, u"关于"_s);
    EXPECT_EQ(closer.ClientSize, QSize(561, 411));
    ASSERT_NE(form.FormAbout, nullptr);
    EXPECT_EQ(form.FormAbout->Button1->text(), u"确定"_s);
    EXPECT_TRUE(form.FormAbout->Button1->isDefault());
    EXPECT_FALSE(form.FormAbout->isVisible());
}

} // namespace
