// The typical use from start to finish: insert "直行", choose a timed forward
// move of 100, compile, and download the listing to a robot emulator on a
// pseudo-terminal.

#include "app/Unit1.h"
#include "blocks/controls/RadioGroup.h"
#include "blocks/dialogs/frmZhiXing.h"
#include "download/frmDownload.h"
#include "tests/download_desktop/MessageBoxCloser.h"
#include "tests/download_desktop/PtyRobot.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(EndToEnd, InsertEditCompileDownload) {
    TForm1 form;
    TFormZhiXing zhiXing;
    TFormDownload download;
    TBlockDialogs dialogs;
    dialogs.FormZhiXing = &zhiXing;
    form.SetDialogs(dialogs);
    form.FormDownload = &download;
    form.show();

    form.NavBar1->ItemButton(1)->click();
    ASSERT_EQ(form.Chain()->BlockObjects().size(), 1u);
    QTimer::singleShot(0, &zhiXing, [&] {
        zhiXing.RadioGroup1()->SetItemIndex(2);
        zhiXing.ScrollBar1()->setValue(100);
        zhiXing.findChild<QPushButton*>(u"Button1"_s)->click();
    });
    form.FlowChart1DblClick();
    EXPECT_NE(
        form.Chain()->BlockObjects().front()->DataText.find("<mode>2</mode>\r\n  <wait>100</wait>"),
        std::string::npos);

    form.SpeedButton7->click();
    EXPECT_EQ(form.Memo1->toPlainText(), u"10 REM \"DEDEVAV\"\n20 REM \"FD 100\""_s);

    TPtyRobot robot;
    TMessageBoxCloser boxes;
    QSignalSpy finished(&download, &TFormDownload::DownloadFinished);
    QTimer::singleShot(0, &download, [&] {
        download.findChild<QComboBox*>(u"ComboBox1"_s)->setEditText(robot.DevicePath());
        download.Button1Click();
        download.Button6Click();
        // The window closes once the completion has been reported.
        QObject::connect(&download, &TFormDownload::DownloadFinished, &download,
                         [&] { QTimer::singleShot(0, &download, [&] { download.accept(); }); });
    });
    form.SpeedButton6->click();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().at(0).toInt(), 0);
    EXPECT_EQ(finished.first().at(1).toInt(), 32);
    EXPECT_TRUE(boxes.Texts.contains(u"32字节数据发送成功"_s))
        << boxes.Texts.join(u'|').toStdString();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
