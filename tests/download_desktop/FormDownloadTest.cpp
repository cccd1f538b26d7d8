// The download window's controls, its port and download states, and its
// temporary image file.

#include "download/CommControl.h"
#include "download/DownloadError.h"
#include "download/frmDownload.h"
#include "tests/download_desktop/MessageBoxCloser.h"
#include "tests/download_desktop/PtyRobot.h"
#include "tests/files/SmallDisk.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

class FormDownload : public ::testing::Test {
protected:
    FormDownload() {
        // Temporary image files land here, so a leftover one is seen.
        OldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(Temp.path()));
    }
    ~FormDownload() override { qputenv("TMPDIR", OldTemp); }

    QPushButton* Button(const char* name) {
        return Form.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QComboBox* Ports() { return Form.findChild<QComboBox*>(u"ComboBox1"_s); }
    QStringList TempFiles() const { return QDir(Temp.path()).entryList(QDir::Files); }

    void OpenOn(const TPtyRobot& robot) {
        Ports()->setEditText(robot.DevicePath());
        Form.Button1Click();
    }

    // Presses the download button and runs the event loop until it ends.
    int DownloadListing(const QString& listing) {
        Form.SetListing(listing);
        QSignalSpy finished(&Form, &TFormDownload::DownloadFinished);
        Form.Button6Click();
        EXPECT_TRUE(finished.wait(30000));
        return finished.isEmpty() ? -1 : finished.first().first().toInt();
    }

    QByteArray OldTemp;
    QTemporaryDir Temp;
    TMessageBoxCloser Boxes;
    TFormDownload Form;
};

TEST_F(FormDownload, StartsClosedWithTheRobotsLine) {
    EXPECT_EQ(Form.windowTitle(), u"DEDEVAV下载"_s);
    EXPECT_EQ(Form.size(), QSize(569, 343));
    EXPECT_TRUE(Button("Button1")->isEnabled());
    EXPECT_FALSE(Button("Button2")->isEnabled());
    EXPECT_TRUE(Button("Button6")->isEnabled());
    EXPECT_EQ(Button("Button1")->text(), u"打开串口"_s);
    EXPECT_EQ(Button("Button2")->text(), u"关闭串口"_s);
    EXPECT_EQ(Button("Button6")->text(), u"下载"_s);
    EXPECT_EQ(Button("Button5")->text(), u"退出下载"_s);
    ASSERT_EQ(Ports()->count(), 8);
    EXPECT_EQ(Ports()->itemText(0), u"1"_s);
    EXPECT_EQ(Ports()->itemText(7), u"8"_s);
    EXPECT_EQ(Ports()->currentText(), u"1"_s);
    EXPECT_TRUE(Ports()->isEditable());
    EXPECT_TRUE(Form.findChild<QPlainTextEdit*>(u"Memo1"_s)->isHidden());
    EXPECT_EQ(Form.Comm1->Settings(), u"115200,n,8,1"_s);
    EXPECT_TRUE(Form.Comm1->RTSEnable() && Form.Comm1->DTREnable());
    EXPECT_EQ(Form.Comm1->RThreshold(), 1);
    EXPECT_EQ(Form.Comm1->InputMode(), 1);
    EXPECT_FALSE(Form.Comm1->PortOpen());
}

TEST_F(FormDownload, OpenAndCloseSwitchTheButtons) {
    TPtyRobot robot;
    OpenOn(robot);
    EXPECT_TRUE(Form.Comm1->PortOpen());
    EXPECT_FALSE(Button("Button1")->isEnabled());
    EXPECT_TRUE(Button("Button2")->isEnabled());
    Form.Button2Click();
    EXPECT_FALSE(Form.Comm1->PortOpen());
    EXPECT_TRUE(Button("Button1")->isEnabled());
    EXPECT_FALSE(Button("Button2")->isEnabled());
}

TEST_F(FormDownload, APortThatCannotBeOpenedLeavesTheButtons) {
    for (const QString& text : {u""_s, u"0"_s, u"9"_s, u"COM1"_s, u"/dev/ttyNoSuchPort"_s}) {
        Ports()->setEditText(text);
        EXPECT_THROW(Form.Button1Click(), EDownloadError) << text.toStdString();
        EXPECT_TRUE(Button("Button1")->isEnabled());
        EXPECT_FALSE(Button("Button2")->isEnabled());
        EXPECT_FALSE(Form.Comm1->PortOpen());
    }
}

TEST_F(FormDownload, AnEmptyListingDoesNothing) {
    Form.SetListing(QString());
    Form.Button6Click(); // even with the port closed: not an error
    EXPECT_FALSE(Form.Downloading());
    EXPECT_TRUE(Boxes.Texts.isEmpty());
    EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(FormDownload, AListingWithoutProgramLinesIsSentOnlyWhenTheUserSaysYes) {
    TPtyRobot robot;
    OpenOn(robot);
    QStringList questions;
    bool yes = false;
    Form.ConfirmEmptyProgram = [&](const QString& question) {
        questions << question;
        return yes;
    };
    // A chart file chosen by mistake.
    Form.SetListing(u"<?xml version=\"1.0\"?>\n<VAZIREZA>\n</VAZIREZA>"_s);
    Form.Button6Click();
    EXPECT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.value(0).contains(u"清除机器人中原有的程序"_s));
    EXPECT_FALSE(Form.Downloading());
    EXPECT_TRUE(TempFiles().isEmpty());

    yes = true;
    EXPECT_EQ(DownloadListing(u"10 REM \"REM 开始\"\n随便写的字\n"_s), 0);
    robot.Finish();
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(robot.Log().Image, (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(Boxes.Texts, QStringList{u"3字节数据发送成功"_s});
}

TEST_F(FormDownload, AFullTemporaryDiskSendsNothing) {
    TSmallDisk disk;
    if (!disk.IsMounted())
        GTEST_SKIP() << disk.Why.toStdString();
    disk.Fill();
    qputenv("TMPDIR", QFile::encodeName(disk.Path()));
    TPtyRobot robot;
    OpenOn(robot);
    Form.SetListing(u"10 REM \"DEDEVAV\"\n20 REM \"FD 100\""_s);
    try {
        Form.Button6Click();
        ADD_FAILURE() << "downloaded";
    } catch (const EDownloadError& e) {
        EXPECT_TRUE(e.Message().contains(u"临时程序文件"_s)) << e.Message().toStdString();
    }
    EXPECT_FALSE(Form.Downloading());
    robot.Finish();
    EXPECT_EQ(robot.Log().OpeningFrames, 0);
    EXPECT_TRUE(disk.Names().isEmpty());
}

TEST_F(FormDownload, TheEmptyProgramQuestionDefaultsToNo) {
    // Enter on the box, as a pupil hurrying through would press it.
    QMetaObject::invokeMethod(
        &Form,
        [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
                    box->defaultButton()->click();
                }
        },
        Qt::QueuedConnection);
    Form.SetListing(u"garbage"_s);
    Form.Button6Click();
    EXPECT_FALSE(Form.Downloading());
    EXPECT_EQ(Boxes.Texts.size(), 1);
}

TEST_F(FormDownload, OneDownloadAtATimeAndItsFileIsGoneOnceItRuns) {
    TPtyRobot robot;
    OpenOn(robot);
    Form.SetListing(u"10 REM \"DEDEVAV\"\r\n20 REM \"FD 100\"\r\n"_s); // pasted CR LF
    QSignalSpy finished(&Form, &TFormDownload::DownloadFinished);
    Form.Button6Click();
    EXPECT_TRUE(Form.Downloading());
    EXPECT_FALSE(Button("Button6")->isEnabled());
    EXPECT_TRUE(TempFiles().isEmpty());
    Form.Button6Click(); // a second press while running
    ASSERT_TRUE(finished.wait(30000));
    robot.Finish();
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(robot.Log().OpeningFrames, 1);
    EXPECT_EQ(Boxes.Texts, QStringList{u"32字节数据发送成功"_s});
    EXPECT_TRUE(Button("Button6")->isEnabled());
    EXPECT_FALSE(Form.findChild<QPlainTextEdit*>(u"Memo1"_s)->toPlainText().isEmpty());
}

TEST_F(FormDownload, AFailedDownloadSaysSo) {
    TRobotScript silent;
    silent.Silent = true;
    TPtyRobot robot(silent);
    OpenOn(robot);
    EXPECT_EQ(DownloadListing(u"10 REM \"DEDEVAV\"\n20 REM \"FD 100\""_s), 1);
    EXPECT_EQ(Boxes.Texts, QStringList{u"32字节数据发送失败"_s});
    EXPECT_TRUE(Button("Button6")->isEnabled());
}

TEST_F(FormDownload, RefusedDownloadsStartNothingAndLeaveNoFile) {
    TPtyRobot robot;
    const QString longStatement = u"30 REM \""_s + QString(300, u'A') + u"\""_s;
    QString hugeListing; // 251 records of 262 bytes and the end mark
    for (int i = 0; i < 251; ++i)
        hugeListing += u"10 REM \""_s + QString(254, u'C') + u"\"\n"_s;
    struct TCase {
        QString Listing;
        bool PortOpen;
        QString MessagePart;
    } cases[] = {
        {u"10 REM \"FD 100\""_s, false, u"未打开"_s},
        {u"10 REM \"FD 100\"\n20 REM \"SAY 😀\""_s, true, u"第 2 行"_s},
        {u"10 REM \"FD 100\"\n"_s + longStatement, true, u"第 30 行"_s},
        {hugeListing, true, u"65765"_s},
    };
    for (const TCase& c : cases) {
        if (c.PortOpen != Form.Comm1->PortOpen()) {
            if (c.PortOpen)
                OpenOn(robot);
            else
                Form.Button2Click();
        }
        Form.SetListing(c.Listing);
        try {
            Form.Button6Click();
            ADD_FAILURE() << "no error for " << c.Listing.toStdString();
        } catch (const EDownloadError& e) {
            EXPECT_TRUE(e.Message().contains(c.MessagePart)) << e.Message().toStdString();
        }
        EXPECT_FALSE(Form.Downloading());
        EXPECT_TRUE(Button("Button6")->isEnabled());
        EXPECT_TRUE(TempFiles().isEmpty()) << TempFiles().join(u' ').toStdString();
    }
    EXPECT_TRUE(Boxes.Texts.isEmpty());
}

TEST_F(FormDownload, NewTempFileNameMakesAnEmptyQxrFile) {
    const QString name = TFormDownload::NewTempFileName();
    const QFileInfo info(name);
    EXPECT_EQ(info.absolutePath(), QDir(Temp.path()).absolutePath());
    EXPECT_TRUE(info.fileName().startsWith(u"qxr"_s));
    EXPECT_TRUE(info.exists());
    EXPECT_EQ(info.size(), 0);
    EXPECT_NE(TFormDownload::NewTempFileName(), name);
}

TEST_F(FormDownload, ShownModallyWithTheListingAndReopenedWithThePortStillOpen) {
    TPtyRobot robot;
    OpenOn(robot);
    QString seen;
    bool button1Enabled = true;
    const auto closeSoon = [&] {
        QTimer::singleShot(0, &Form, [&] {
            seen = Form.findChild<QPlainTextEdit*>(u"Memo2"_s)->toPlainText();
            button1Enabled = Button("Button1")->isEnabled();
            Button("Button5")->click();
        });
    };
    closeSoon();
    EXPECT_EQ(Form.ShowWithListing(u"10 REM \"DEDEVAV\""_s), QDialog::Accepted);
    EXPECT_EQ(seen, u"10 REM \"DEDEVAV\""_s);
    closeSoon();
    EXPECT_EQ(Form.ShowWithListing(u"10 REM \"FD 1\""_s), QDialog::Accepted);
    EXPECT_EQ(seen, u"10 REM \"FD 1\""_s);
    EXPECT_FALSE(button1Enabled);
    EXPECT_TRUE(Form.Comm1->PortOpen());
}

TEST_F(FormDownload, LeavingTheWindowStopsARunningDownload) {
    // The robot never answers, so a transfer that is not stopped would end
    // with its failure box once the window is gone.
    TRobotScript silent;
    silent.Silent = true;
    struct TCase {
        const char* Way;
        std::function<void()> Leave;
    } cases[] = {
        {"退出下载", [this] { Button("Button5")->click(); }},
        {"close box", [this] { Form.close(); }},
        {"Esc", [this] { QTest::keyClick(&Form, Qt::Key_Escape); }},
    };
    for (const TCase& c : cases) {
        TPtyRobot robot(silent);
        OpenOn(robot);
        QSignalSpy finished(&Form, &TFormDownload::DownloadFinished);
        bool started = false;
        QTimer::singleShot(0, &Form, [&] {
            Button("Button6")->click();
            started = Form.Downloading();
            c.Leave();
        });
        Form.ShowWithListing(u"10 REM \"DEDEVAV\"\n20 REM \"FD 100\""_s);
        EXPECT_TRUE(started) << c.Way;
        EXPECT_FALSE(Form.isVisible()) << c.Way;
        EXPECT_FALSE(Form.Downloading()) << c.Way;
        EXPECT_TRUE(Button("Button6")->isEnabled()) << c.Way;
        QTest::qWait(100);
        EXPECT_TRUE(finished.isEmpty()) << c.Way;
        EXPECT_TRUE(Boxes.Texts.isEmpty()) << c.Way << ": " << Boxes.Texts.join(u' ').toStdString();
        Form.Button2Click();
    }
}

TEST(FormDownloadLifetime, DestroyedWhileDownloadingStopsTheTransfer) {
    TMessageBoxCloser boxes;
    TPtyRobot robot;
    auto form = std::make_unique<TFormDownload>();
    form->findChild<QComboBox*>(u"ComboBox1"_s)->setEditText(robot.DevicePath());
    form->Button1Click();
    QString listing;
    for (int i = 1; i <= 60; ++i)
        listing += u"%1 REM \"MOTOR 100,100\"\n"_s.arg(i * 10);
    form->SetListing(listing);
    QSignalSpy trace(form->findChild<QPlainTextEdit*>(u"Memo1"_s), &QPlainTextEdit::textChanged);
    form->Button6Click();
    while (trace.size() < 5) // into the data packets
        ASSERT_TRUE(trace.wait(30000));
    form.reset();
    QCoreApplication::processEvents();
    robot.Finish();
    EXPECT_FALSE(robot.Log().Completed);
    EXPECT_TRUE(boxes.Texts.isEmpty()); // no completion for a window that is gone
}

} // namespace
