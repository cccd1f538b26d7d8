// The command line, run as a user runs it: the program started with a
// command, its output, messages and exit code checked against golden files,
// the main window's own compile and a robot emulator on a pseudo-terminal.

#include "app/Application.h"
#include "app/Unit1.h"
#include "gbk/GbkText.h"
#include "tests/download_desktop/PtyRobot.h"
#include "tests/files/SmallDisk.h"
#include "xml/SimpleXML.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString DataDir = QStringLiteral(DD_TEST_DATA_DIR);

struct TRun {
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;
};

TRun RunProgram(const QStringList& args, const QString& workingDir = QString()) {
    QProcess process;
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    // No display: the commands must not need one.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"QT_QPA_PLATFORM"_s);
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(DD_PROGRAM), args);
    EXPECT_TRUE(process.waitForFinished(60000)) << args.join(u' ').toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// The compile's golden listing, one line per line, each ending in CR LF.
QByteArray GoldenListing() {
    QByteArray text =
        ReadBytes(QStringLiteral(DD_SOURCE_DIR "/tests/codegen/data/every_kind.listing"));
    if (text.endsWith('\n'))
        text.chop(1);
    return text.replace('\n', "\r\n") + "\r\n";
}

// The error box's text for the error the parser raises on these bytes.
QString ParseErrorText(const QByteArray& bytes) {
    TSimpleXML doc;
    try {
        doc.ReadText(std::string(bytes.constData(), size_t(bytes.size())));
    } catch (const std::exception& e) {
        return ErrorMessageText(ExceptionMessageText(e.what()));
    }
    ADD_FAILURE() << "the bytes parsed";
    return QString();
}

TEST(CommandLine, CompilePrintsTheGoldenListing) {
    const TRun run = RunProgram({u"compile"_s, DataDir + u"/every_kind.rer"_s});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, GoldenListing());
    // The chart holds a record of a palette kind that makes no block.
    EXPECT_TRUE(QString::fromUtf8(run.Err).contains(u"有 1 个模块记录无法载入"_s))
        << run.Err.toStdString();
}

TEST(CommandLine, CompilePrintsWhatTheWindowsCompilePutsInThePane) {
    const QString chart = DataDir + u"/every_kind.rer"_s;
    TForm1 form;
    QStringList warnings;
    form.ShowWarning = [&](const QString& text) { warnings << text; };
    form.OpenChart(chart);
    EXPECT_EQ(warnings.size(), 1);
    form.SpeedButton7Click();
    QByteArray pane;
    for (const QString& line : form.Memo1->toPlainText().split(u'\n')) {
        const auto bytes = GbkEncode(line);
        ASSERT_TRUE(bytes);
        pane += QByteArray::fromStdString(*bytes) + "\r\n";
    }
    EXPECT_EQ(RunProgram({u"compile"_s, chart}).Out, pane);
}

TEST(CommandLine, FileArgumentsAreTakenFromTheStartDirectory) {
    EXPECT_EQ(RunProgram({u"compile"_s, u"every_kind.rer"_s}, DataDir).Out, GoldenListing());
    QTemporaryDir dir;
    WriteBytes(dir.filePath(u"p.txt"_s), GoldenListing());
    const TRun run = RunProgram({u"image"_s, u"p.txt"_s, u"p.bin"_s}, dir.path());
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(ReadBytes(dir.filePath(u"p.bin"_s)), ReadBytes(DataDir + u"/every_kind.bin"_s));
}

TEST(CommandLine, CompileErrorsGoToStderrWithTheErrorBoxText) {
    QTemporaryDir dir;
    const QByteArray broken = "<?xml version=\"1.0\"?><VAZIREZA><record><CtrlNode type=1/>";
    WriteBytes(dir.filePath(u"broken.rer"_s), broken);

    TRun run = RunProgram({u"compile"_s, dir.filePath(u"broken.rer"_s)});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Out.isEmpty());
    // A Chinese sentence first, then the parser's own words.
    const QString err = QString::fromUtf8(run.Err);
    EXPECT_TRUE(err.startsWith(u"无法打开流程图文件“%1”：文件内容有错误"_s.arg(
        dir.filePath(u"broken.rer"_s)))) << run.Err.toStdString();
    EXPECT_TRUE(err.endsWith(ParseErrorText(broken) + u'\n')) << run.Err.toStdString();

    run = RunProgram({u"compile"_s, dir.filePath(u"missing.rer"_s)});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Out.isEmpty());
    EXPECT_TRUE(run.Err.contains("missing.rer")) << run.Err.toStdString();
}

TEST(CommandLine, ImageWritesTheGoldenImage) {
    QTemporaryDir dir;
    const QString listing = dir.filePath(u"every_kind.txt"_s);
    WriteBytes(listing, GoldenListing());
    const TRun run = RunProgram({u"image"_s, listing, dir.filePath(u"out.bin"_s)});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty() && run.Err.isEmpty());
    EXPECT_EQ(ReadBytes(dir.filePath(u"out.bin"_s)), ReadBytes(DataDir + u"/every_kind.bin"_s));
}

// Well over the 65535 bytes one download may carry.
QByteArray LongListing() {
    QByteArray text = "10 REM \"DEDEVAV\"\r\n";
    for (int n = 20; n <= 4000; n += 10)
        text += QByteArray::number(n) + " REM \"PRINT " + QByteArray(240, 'A') + "\"\r\n";
    return text;
}

TEST(CommandLine, ImageRefusalsLeaveTheOutputFileAlone) {
    const struct {
        const char* Name;
        QByteArray Listing;
        QString Message;
    } cases[] = {
        {"statement too long", "10 REM \"DEDEVAV\"\r\n20 REM \"" + QByteArray(300, 'A') + "\"\r\n",
         u"第 20 行的语句有 302 字节"_s},
        {"image too long", LongListing(), u"超过了一次最多可下载的 65535 字节"_s},
        {"empty", "", u"是空的"_s},
        {"missing", QByteArray(), u"missing.txt"_s},
        {"line number beyond 16 bits", "10 REM \"DEDEVAV\"\r\n70000 REM \"FD 1\"\r\n",
         u"清单第 2 行的行号 70000 超出了机器人允许的 0 到 65535"_s},
        {"negative line number", "-10 REM \"FD 1\"\r\n", u"行号 -10 超出了"_s},
        // A chart chosen by mistake, a binary file: no line is a program line.
        {"a chart", ReadBytes(DataDir + u"/every_kind.rer"_s), u"--allow-empty"_s},
        {"a binary", ReadBytes(DataDir + u"/every_kind.bin"_s), u"没有一行是程序行"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir dir;
        const QString listing = dir.filePath(c.Listing.isNull() ? u"missing.txt"_s : u"l.txt"_s);
        if (!c.Listing.isNull())
            WriteBytes(listing, c.Listing);
        WriteBytes(dir.filePath(u"out.bin"_s), "old");
        const TRun run = RunProgram({u"image"_s, listing, dir.filePath(u"out.bin"_s)});
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_TRUE(QString::fromUtf8(run.Err).contains(c.Message)) << run.Err.toStdString();
        EXPECT_EQ(ReadBytes(dir.filePath(u"out.bin"_s)), "old");
    }
}

TEST(CommandLine, AnEmptyProgramIsWrittenOnlyWhenAskedFor) {
    QTemporaryDir dir;
    const QString listing = dir.filePath(u"l.txt"_s);
    WriteBytes(listing, "<?xml version=\"1.0\"?>\r\n<VAZIREZA/>\r\n");
    const QString out = dir.filePath(u"out.bin"_s);
    TRun run = RunProgram({u"image"_s, listing, out});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_FALSE(QFile::exists(out));
    run = RunProgram({u"image"_s, u"--allow-empty"_s, listing, out});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(ReadBytes(out), QByteArray(3, '\0'));
    // A download refuses before it touches the port.
    run = RunProgram({u"download"_s, listing, u"--port"_s, u"/dev/ttyNoSuchPort"_s});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(run.Err).contains(u"--allow-empty"_s)) << run.Err.toStdString();
}

TEST(CommandLine, AListingWithAByteOrderMarkGivesTheSameImage) {
    QTemporaryDir dir;
    const QString listing = dir.filePath(u"bom.txt"_s);
    WriteBytes(listing, "\xEF\xBB\xBF" + GoldenListing());
    // "-" writes the image to standard output, for pipes.
    const TRun run = RunProgram({u"image"_s, listing, u"-"_s});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, ReadBytes(DataDir + u"/every_kind.bin"_s));
}

TEST(CommandLine, ImageWritesOnlyRegularFilesOtherThanItsInput) {
    QTemporaryDir dir;
    const QString listing = dir.filePath(u"l.txt"_s);
    WriteBytes(listing, GoldenListing());
    const QString fifo = dir.filePath(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = dir.filePath(u"link.txt"_s);
    ASSERT_TRUE(QFile::link(listing, link));
    const struct {
        QString Out;
        QString Message;
    } cases[] = {
        {u"/dev/null"_s, u"不是普通文件"_s},
        {fifo, u"不是普通文件"_s},
        {dir.path(), u"不是普通文件"_s},
        {listing, u"就是程序清单文件本身"_s},
        {link, u"就是程序清单文件本身"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Out.toStdString());
        const TRun run = RunProgram({u"image"_s, listing, c.Out});
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_TRUE(QString::fromUtf8(run.Err).contains(c.Message)) << run.Err.toStdString();
        EXPECT_EQ(ReadBytes(listing), GoldenListing());
    }
    EXPECT_FALSE(QFileInfo(u"/dev/null"_s).isFile());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(CommandLine, ReadsOnlyRegularFilesOfASaneSize) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"pipe.rer"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = dir.filePath(u"huge.rer"_s);
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(200 * 1024 * 1024)); // sparse: no disk space
    }
    const struct {
        QStringList Args;
        QString Message;
    } cases[] = {
        {{u"compile"_s, u"/dev/zero"_s}, u"不是普通文件"_s},
        {{u"compile"_s, fifo}, u"不是普通文件"_s}, // no writer: it used to block
        {{u"compile"_s, huge}, u"超过了流程图文件最多 64 MB"_s},
        {{u"image"_s, u"/dev/zero"_s, dir.filePath(u"o.bin"_s)}, u"不是普通文件"_s},
        {{u"image"_s, huge, dir.filePath(u"o.bin"_s)}, u"超过了程序清单文件最多 64 MB"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(u' ').toStdString());
        const TRun run = RunProgram(c.Args);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_TRUE(run.Out.isEmpty());
        EXPECT_TRUE(QString::fromUtf8(run.Err).contains(c.Message)) << run.Err.toStdString();
    }
}

TEST(CommandLine, CompileOfADamagedChartWarnsOnStderr) {
    QTemporaryDir dir;
    const QByteArray chart = ReadBytes(DataDir + u"/every_kind.rer"_s);
    const QString cut = dir.filePath(u"cut.rer"_s);
    WriteBytes(cut, chart.left(chart.size() / 2));
    const TRun run = RunProgram({u"compile"_s, cut});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Out.startsWith("10 REM \"DEDEVAV\"\r\n"));
    EXPECT_TRUE(QString::fromUtf8(run.Err).contains(u"文件不完整，可能已损坏"_s))
        << run.Err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(run.Err).contains(u"文件在中途就结束了"_s));
}

TEST(CommandLine, ImageToAFullDiskKeepsTheOldImage) {
    TSmallDisk disk;
    if (!disk.IsMounted())
        GTEST_SKIP() << disk.Why.toStdString();
    QTemporaryDir dir;
    const QString listing = dir.filePath(u"l.txt"_s);
    WriteBytes(listing, GoldenListing());
    const QString out = disk.FilePath(u"out.bin"_s);
    WriteBytes(out, "old image");
    disk.Fill();
    const TRun run = RunProgram({u"image"_s, listing, out});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(run.Err).startsWith(u"磁盘已满"_s)) << run.Err.toStdString();
    EXPECT_EQ(ReadBytes(out), "old image");
    EXPECT_EQ(disk.Names(), QStringList{u"out.bin"_s});
}

TEST(CommandLine, AKilledImageWriteLeavesTheOldOrTheNewImage) {
    QTemporaryDir dir;
    const QString listing = dir.filePath(u"l.txt"_s);
    WriteBytes(listing, GoldenListing());
    const QByteArray image = ReadBytes(DataDir + u"/every_kind.bin"_s);
    const QString out = dir.filePath(u"out.bin"_s);
    const QByteArray old(70000, 'O');
    WriteBytes(out, old);
    std::mt19937 random(1211);
    std::uniform_int_distribution<int> delay(0, 40);
    int seenOld = 0;
    int seenNew = 0;
    for (int i = 0; i < 200; ++i) {
        QProcess process;
        process.start(QStringLiteral(DD_PROGRAM), {u"image"_s, listing, out});
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(delay(random));
        ::kill(pid_t(process.processId()), SIGKILL);
        ASSERT_TRUE(process.waitForFinished(30000));
        const QByteArray now = ReadBytes(out);
        ASSERT_TRUE(now == old || now == image) << "kill " << i << " left " << now.size();
        if (now == old) {
            ++seenOld;
        } else {
            ++seenNew;
            WriteBytes(out, old);
        }
    }
    std::printf("old or new every time: %d x old, %d x new\n", seenOld, seenNew);
}

TEST(CommandLine, HelpVersionAndBadArguments) {
    const struct {
        QStringList Args;
        int ExitCode;
        QByteArray Out; // prefix of stdout
        QString Err;    // part of stderr
    } cases[] = {
        {{u"--help"_s}, 0, "用法", {}},
        {{u"-h"_s}, 0, "用法", {}},
        {{u"--version"_s}, 0, "dedevav-flow 1.0.0\n", {}},
        {{u"--frobnicate"_s}, 2, {}, u"未知选项“--frobnicate”"_s},
        {{u"compile"_s}, 2, {}, u"用法"_s},
        {{u"compile"_s, u"a.rer"_s, u"b.rer"_s}, 2, {}, u"compile 的参数多了一个：“b.rer”"_s},
        {{u"image"_s, u"a.txt"_s, u"b.bin"_s, u"c"_s}, 2, {}, u"image 的参数多了一个：“c”"_s},
        {{u"image"_s, u"a.txt"_s}, 2, {}, u"用法"_s},
        {{u"download"_s, u"a.txt"_s}, 2, {}, u"--port"_s},
        {{u"download"_s, u"a.txt"_s, u"--port"_s}, 2, {}, u"--port"_s},
        {{u"compile"_s, u"--port"_s, u"1"_s, u"a.rer"_s}, 2, {}, u"未知选项“--port”"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(u' ').toStdString());
        const TRun run = RunProgram(c.Args);
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_TRUE(run.Out.startsWith(c.Out)) << run.Out.toStdString();
        if (c.Err.isEmpty())
            EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
        else
            EXPECT_TRUE(QString::fromUtf8(run.Err).contains(c.Err)) << run.Err.toStdString();
    }
}

TEST(CommandLine, DownloadSendsTheImageToTheRobot) {
    QTemporaryDir dir;
    const QString listing = dir.filePath(u"every_kind.txt"_s);
    WriteBytes(listing, GoldenListing());
    const QByteArray image = ReadBytes(DataDir + u"/every_kind.bin"_s);

    TPtyRobot robot;
    const TRun run = RunProgram({u"download"_s, listing, u"--port"_s, robot.DevicePath()});
    robot.Finish();
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.Out), QString::number(image.size()) + u"字节数据发送成功\n"_s);
    EXPECT_TRUE(robot.Log().Completed);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(robot.Log().Image.data()),
                         qsizetype(robot.Log().Image.size())),
              image);
}

TEST(CommandLine, DownloadFailuresExitWithOne) {
    QTemporaryDir dir;
    const QString listing = dir.filePath(u"l.txt"_s);
    WriteBytes(listing, "10 REM \"DEDEVAV\"\r\n20 REM \"FD 100\"\r\n");

    TRobotScript silent;
    silent.Silent = true;
    TPtyRobot robot(silent);
    TRun run = RunProgram({u"download"_s, listing, u"--port="_s + robot.DevicePath()});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Out.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(run.Err).endsWith(u"字节数据发送失败\n"_s))
        << run.Err.toStdString();

    run = RunProgram({u"download"_s, listing, u"--port"_s, u"9"_s});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(run.Err).contains(u"请选择 1 到 8"_s)) << run.Err.toStdString();

    // A path that is no serial device is called that, not "串口号 0".
    run = RunProgram({u"download"_s, listing, u"--port"_s, listing});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(run.Err).contains(u"这不是串口设备"_s)) << run.Err.toStdString();
    EXPECT_FALSE(run.Err.contains("。.")) << run.Err.toStdString();
}

} // namespace
