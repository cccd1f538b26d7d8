// The real port layer and the download window against the robot emulator on
// a pseudo-terminal.

#include "download/CommControl.h"
#include "download/DownloadError.h"
#include "download/frmDownload.h"
#include "tests/download/TransferCases.h"
#include "tests/download_desktop/MessageBoxCloser.h"
#include "tests/download_desktop/PtyRobot.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Bytes = std::vector<std::uint8_t>;

class PtyDownload : public ::testing::Test {
protected:
    void OpenOn(const TPtyRobot& robot) {
        Form.findChild<QComboBox*>(u"ComboBox1"_s)->setEditText(robot.DevicePath());
        Form.Button1Click();
    }

    QString WriteImage(const Bytes& image) {
        const QString name = Dir.filePath(u"image.bin"_s);
        QFile file(name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
        return name;
    }

    // Starts the download of image and runs the event loop until it ends.
    int Download(const Bytes& image) {
        QSignalSpy finished(&Form, &TFormDownload::DownloadFinished);
        Form.SendImageFile(WriteImage(image));
        EXPECT_TRUE(Form.Downloading());
        if (finished.isEmpty()) {
            EXPECT_TRUE(finished.wait(30000));
        }
        // Once finished the thread is joined: nothing more can arrive.
        EXPECT_FALSE(Form.Downloading());
        EXPECT_EQ(finished.size(), 1);
        EXPECT_EQ(Boxes.Texts.size(), 1);
        return finished.isEmpty() ? -1 : finished.first().first().toInt();
    }

    QStringList Trace() const {
        return Form.findChild<QPlainTextEdit*>(u"Memo1"_s)->toPlainText().split(u'\n');
    }

    QTemporaryDir Dir;
    TMessageBoxCloser Boxes;
    TFormDownload Form;
};

TEST_F(PtyDownload, WorkedExampleListingOnTheWire) {
    TPtyRobot robot;
    OpenOn(robot);
    Form.SetListing(u"10 REM \"WAIT 10\"\n20 REM \"REM 标号1\"\n30 REM \"MOTOR 100,100\""_s);
    QSignalSpy finished(&Form, &TFormDownload::DownloadFinished);
    Form.Button6Click();
    ASSERT_TRUE(finished.wait(30000));
    robot.Finish();
    EXPECT_EQ(Boxes.Texts, QStringList{u"39字节数据发送成功"_s});
    EXPECT_EQ(Trace(), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5:1"_s}));

    const Bytes& wire = robot.Log().Wire;
    const Bytes opening = {0x07, 0x00, 0x54, 0x43, 0xE8, 0x03, 0x00, 0xFA, 0x7C, 0x02, 0x06};
    ASSERT_GE(wire.size(), 11u + 1 + 76 + 1 + 43);
    EXPECT_EQ(Bytes(wire.begin(), wire.begin() + 11), opening);
    EXPECT_EQ(wire[11], 0x5A);
    const Bytes header(wire.begin() + 12, wire.begin() + 12 + 76);
    EXPECT_EQ((Bytes(header.begin(), header.begin() + 4)), (Bytes{0x48, 0x27, 0x00, 0x02}));
    EXPECT_EQ((Bytes(header.end() - 4, header.end())), (Bytes{0x47, 0x22, 0x0A, 0x26}));
    EXPECT_EQ(wire[88], 0x5A);
    const Bytes data(wire.begin() + 89, wire.end());
    ASSERT_EQ(data.size(), 43u);
    EXPECT_EQ(data[0], 0x27);
    EXPECT_EQ((Bytes(data.begin() + 1, data.begin() + 7)),
              (Bytes{0x00, 0xCC, 0x19, 0x0A, 0x00, 0x93}));
    EXPECT_EQ((Bytes(data.end() - 3, data.end())), (Bytes{0x66, 0x08, 0x68}));
    EXPECT_EQ(robot.Log().Image, Bytes(data.begin() + 1, data.end() - 3));
}

class PtyTransferCase : public PtyDownload, public ::testing::WithParamInterface<TTransferCase> {};

TEST_P(PtyTransferCase, EndsWithOneCompletion) {
    const TTransferCase& c = GetParam();
    TPtyRobot robot(c.Script);
    OpenOn(robot);
    const Bytes image = TestImage(c.ImageSize);
    EXPECT_EQ(Download(image), c.Result);
    robot.Finish();
    const QString expected = QString::number(c.ImageSize) +
                             (c.Result == 0 ? u"字节数据发送成功"_s : u"字节数据发送失败"_s);
    EXPECT_EQ(Boxes.Texts, QStringList{expected});
    EXPECT_EQ(robot.Log().OpeningFrames, c.OpeningFrames);
    EXPECT_EQ(robot.Log().Acks, c.Acks);
    if (c.Result == 0) {
        EXPECT_EQ(robot.Log().Image, image);
        EXPECT_EQ(std::size_t(robot.Log().DataFrames), (image.size() + 63) / 64);
    }
    EXPECT_TRUE(Form.findChild<QPushButton*>(u"Button6"_s)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Pty, PtyTransferCase, ::testing::ValuesIn(TransferCases()),
                         [](const auto& info) { return info.param.Name; });

TEST_F(PtyDownload, ClosingThePortDuringTheTransferFailsIt) {
    TPtyRobot robot;
    OpenOn(robot);
    // Close as soon as the first trace line arrives, mid-transfer.
    auto* trace = Form.findChild<QPlainTextEdit*>(u"Memo1"_s);
    QObject::connect(trace, &QPlainTextEdit::textChanged, &Form, [this] {
        if (Form.Comm1->PortOpen())
            Form.Button2Click();
    });
    EXPECT_EQ(Download(TestImage(64 * 4)), 1);
    EXPECT_EQ(Boxes.Texts, QStringList{u"256字节数据发送失败"_s});
    EXPECT_FALSE(robot.Log().Completed);
}

TEST_F(PtyDownload, AVanishedDeviceFailsTheDownloadOnceAndStopsNotifying) {
    TRobotScript script;
    script.HangUpAfterBytes = 11 + 1 + 76 + 1 + 10; // inside the data packet
    TPtyRobot robot(script);
    OpenOn(robot);
    QSignalSpy events(Form.Comm1, &TCommControl::OnComm);
    EXPECT_EQ(Download(TestImage(100)), 1);
    // Spin the loop a while: a hung-up pty reads as an error forever, and
    // the layer must have stopped listening after the first one.
    const int afterFailure = events.size();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(events.size(), afterFailure);
    EXPECT_EQ(Form.Comm1->CommEvent(), TCommControl::CommEvHangUp);
    EXPECT_THROW(Form.Comm1->Output(QByteArray(1, 'x')), EDownloadError);
    // A new download is refused until the port is opened again.
    EXPECT_THROW(Form.SendImageFile(WriteImage(TestImage(10))), EDownloadError);
    EXPECT_FALSE(Form.Downloading());
    EXPECT_EQ(Boxes.Texts.size(), 1);
}

TEST(CommControl, OutputFromAnotherThreadWhileReceivingOnTheGuiThread) {
    // The robot echoes nothing here; a plain pty peer reads what we send.
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    TCommControl port;
    port.SetSettings(u"115200,n,8,1"_s);
    port.SetRTSEnable(true);
    port.SetDTREnable(true);
    port.SetDeviceName(QString::fromLocal8Bit(name));
    port.SetPortOpen(true);
    QByteArray received;
    QObject::connect(&port, &TCommControl::OnComm, [&] {
        if (port.CommEvent() == TCommControl::CommEvReceive && port.InBufferCount() > 0)
            received += port.Input();
    });
    std::thread writer([&] {
        for (int i = 0; i < 256; ++i) {
            port.WriteByte(std::uint8_t(i));
            while (port.PendingOutput() > 0) {
            }
        }
    });
    // Meanwhile the far end sends every byte value, zero included.
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    ASSERT_EQ(::write(master, all.constData(), size_t(all.size())), 256);
    QByteArray sent;
    while (received.size() < 256 || sent.size() < 256) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        char buffer[512];
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 0) == 1) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0)
                sent.append(buffer, n);
        }
    }
    writer.join();
    EXPECT_EQ(received, all);
    EXPECT_EQ(sent, all);
    port.SetPortOpen(false);
    ::close(master);
    ::close(slave);
}

TEST(CommControl, OpeningErrorsNameTheDeviceAndTheReason) {
    TCommControl port;
    port.SetSettings(u"115200,n,8,1"_s);
    const auto message = [&](const std::function<void()>& action) {
        try {
            action();
        } catch (const EDownloadError& e) {
            return e.Message();
        }
        return QString();
    };
    EXPECT_TRUE(message([&] { port.SetCommPort(0); }).contains(u"1 到 8"_s));
    EXPECT_TRUE(message([&] { port.SetCommPort(9); }).contains(u"9"_s));
    EXPECT_TRUE(message([&] { port.SetDeviceName(u"COM3"_s); }).contains(u"COM3"_s));
    port.SetDeviceName(u"/dev/ttyDoesNotExist7"_s);
    const QString missing = message([&] { port.SetPortOpen(true); });
    EXPECT_TRUE(missing.contains(u"/dev/ttyDoesNotExist7"_s)) << missing.toStdString();
    EXPECT_TRUE(missing.contains(u"不存在"_s)) << missing.toStdString();
    port.SetDeviceName(u"/dev/null"_s); // exists, but is no terminal
    EXPECT_FALSE(message([&] { port.SetPortOpen(true); }).isEmpty());
    EXPECT_FALSE(port.PortOpen());
    EXPECT_TRUE(message([&] { port.SetInBufferCount(0); }).contains(u"未打开"_s));
    EXPECT_TRUE(message([&] { port.Output(QByteArray(1, 'x')); }).contains(u"未打开"_s));

    // A second program on the same device is refused.
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    port.SetDeviceName(QString::fromLocal8Bit(name));
    port.SetPortOpen(true);
    TCommControl other;
    other.SetSettings(u"115200,n,8,1"_s);
    other.SetDeviceName(QString::fromLocal8Bit(name));
    EXPECT_TRUE(message([&] { other.SetPortOpen(true); }).contains(u"使用"_s));
    port.SetPortOpen(false);
    ::close(master);
    ::close(slave);
}

} // namespace
