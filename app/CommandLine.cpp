#include "app/CommandLine.h"

#include "app/Application.h"
#include "blocks/BlockCatalogue.h"
#include "codegen/BuildListing.h"
#include "document/FlowchartFile.h"
#include "document/ListingFile.h"
#include "document/TDocument.h"
#include "download/DownloadError.h"
#include "download/DownloadSession.h"
#include "files/UserFile.h"
#include "program/Program.h"
#include "xml/SimpleXML.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

QString UsageText() {
    return u"用法：\n"
           u"  dedevav-flow [图表.rer]                    打开编辑器（可同时打开一个图表）\n"
           u"  dedevav-flow compile 图表.rer              编译图表，把程序清单（GBK，CR LF "
           u"换行）写到标准输出\n"
           u"  dedevav-flow image 清单.txt 映像.bin       由程序清单生成机器人的程序映像文件"
           u"（映像文件为 - 时写到标准输出）\n"
           u"  dedevav-flow download 清单.txt --port 端口 把程序清单下载到机器人；"
           u"端口为 1 到 8（COM1 到 COM8）或设备路径，如 /dev/ttyUSB0\n"
           u"  image 和 download 不接受没有程序行的清单（下载它会清除机器人中的程序）；"
           u"确实要清除时加上 --allow-empty\n"
           u"  dedevav-flow --help                        显示本说明\n"
           u"  dedevav-flow --version                     显示版本\n"_s;
}

void WriteText(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void WriteError(const QString& message) {
    WriteText(stderr, ErrorMessageText(message) + u'\n');
}

// Thrown for arguments that make no command; the message precedes the usage.
class EUsageError : public std::exception {
public:
    explicit EUsageError(QString message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return "usage"; }
    QString Message;
};

// An error raised inside the event loop (the port's reader) is reported the
// way the window reports it, and the command goes on.
class TConsoleApplication : public QCoreApplication {
public:
    TConsoleApplication(int& argc, char** argv) : QCoreApplication(argc, argv) {
        SetErrorReporter([](const QString& text) { WriteError(text); });
    }
    ~TConsoleApplication() override { SetErrorReporter(nullptr); }
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QCoreApplication::notify(receiver, event);
        } catch (...) {
            ReportCurrentException();
        }
        return false;
    }
};

QString AbsolutePath(const QString& argument) {
    return QFileInfo(argument).absoluteFilePath();
}

// The listing file as the download window would hold it: its lines joined
// with LF. An empty listing is refused, as the window's download does nothing,
// and so is one without a program line unless the user asks for it: its
// image would only erase the robot's program.
QString ReadListing(const QString& path, bool allowEmpty) {
    const QString listing = ReadListingFile(path).join(u'\n');
    if (listing.isEmpty())
        throw EDownloadError(
            u"程序清单 %1 是空的，没有可下载的程序。"_s.arg(QDir::toNativeSeparators(path)));
    if (!allowEmpty && TDownloadSession::ProgramLineCount(listing) == 0)
        throw EDownloadError(u"%1：%2如果确实要清除机器人中的程序，请加上 --allow-empty。"_s.arg(
            QDir::toNativeSeparators(path), TDownloadSession::EmptyProgramText()));
    return listing;
}

int Compile(const QString& path) {
    TSimpleXML fileDoc;
    ParseChartText(fileDoc, ReadChartFile(path), path);
    TSimpleXML scratch;
    int skipped = 0;
    TProgram program;
    program.Reset(ProgramOfFileTree(fileDoc, scratch, &skipped));
    const std::vector<TListingBlock> blocks = ListingBlocksOf(program);
    // The listing is made all the same, as the window opens such a file.
    const QString damage = ChartDamageText(FileDamageOf(fileDoc, skipped));
    if (!damage.isEmpty())
        WriteText(stderr, u"警告：%1：%2\n"_s.arg(QDir::toNativeSeparators(path), damage));
    std::vector<std::string> lines;
    BuildListing(blocks, scratch, lines);
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        throw std::runtime_error("无法写出程序清单");
    return ExitSuccess;
}

int Image(const QString& listingPath, const QString& imagePath, bool allowEmpty) {
    const bool toStdout = imagePath == u"-"_s;
    if (!toStdout && IsSameFile(listingPath, WriteTargetOf(imagePath)))
        throw EDownloadError(u"映像文件 %1 就是程序清单文件本身，写入会毁掉清单。请换一个映像文件名。"_s.arg(
            QDir::toNativeSeparators(imagePath)));
    std::vector<std::uint8_t> image;
    TDownloadSession::BuildListingImage(ReadListing(listingPath, allowEmpty), image);
    if (toStdout) {
        if (std::fwrite(image.data(), 1, image.size(), stdout) != image.size() ||
            std::fflush(stdout) != 0)
            throw std::runtime_error("无法把程序映像写到标准输出");
        return ExitSuccess;
    }
    WriteUserFile(imagePath,
                  QByteArrayView(reinterpret_cast<const char*>(image.data()), qsizetype(image.size())),
                  u"程序映像文件"_s);
    return ExitSuccess;
}

int Download(const QString& listingPath, const QString& port, bool allowEmpty) {
    const QString listing = ReadListing(listingPath, allowEmpty);
    TDownloadSession session;
    int exitCode = ExitFailure;
    QObject::connect(&session, &TDownloadSession::Finished, [&](int result, int imageLength) {
        const QString text = TDownloadSession::CompletionText(result, imageLength);
        WriteText(result == 0 ? stdout : stderr, text + u'\n');
        exitCode = result == 0 ? ExitSuccess : ExitFailure;
        QCoreApplication::exit(exitCode);
    });
    session.OpenPort(port);
    session.DownloadListing(listing);
    if (!session.Downloading())
        throw EDownloadError(u"下载没有开始：临时程序文件已不存在"_s);
    QCoreApplication::exec();
    return exitCode;
}

int Run(const QStringList& args) {
    const QString command = args.value(0);
    if (command == u"--help"_s || command == u"-h"_s) {
        if (args.size() > 1)
            throw EUsageError(u"“%1”不需要参数"_s.arg(command));
        WriteText(stdout, UsageText());
        return ExitSuccess;
    }
    if (command == u"--version"_s) {
        if (args.size() > 1)
            throw EUsageError(u"“%1”不需要参数"_s.arg(command));
        WriteText(stdout, u"dedevav-flow "_s + QStringLiteral(DEDEVAV_VERSION) + u'\n');
        return ExitSuccess;
    }
    // The remaining arguments: options with their values, and plain operands.
    QStringList operands;
    QString port;
    bool hasPort = false;
    bool allowEmpty = false;
    bool operandsOnly = false; // after "--"
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (operandsOnly) {
            operands << arg;
        } else if (arg == u"--"_s) {
            operandsOnly = true;
        } else if (command == u"download"_s &&
                   (arg == u"--port"_s || arg.startsWith(u"--port="_s))) {
            if (hasPort)
                throw EUsageError(u"串口只能指定一次"_s);
            if (arg == u"--port"_s) {
                if (i + 1 >= args.size())
                    throw EUsageError(u"--port 后面缺少串口"_s);
                port = args[++i];
            } else {
                port = arg.mid(7);
            }
            hasPort = true;
        } else if ((command == u"image"_s || command == u"download"_s) &&
                   arg == u"--allow-empty"_s) {
            allowEmpty = true;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            throw EUsageError(u"未知选项“%1”"_s.arg(arg));
        } else {
            operands << arg;
        }
    }
    // Too few operands name what is missing, too many the first extra one.
    const auto operandCount = [&](qsizetype wanted, const QString& missing) {
        if (operands.size() < wanted)
            throw EUsageError(missing);
        if (operands.size() > wanted)
            throw EUsageError(u"%1 的参数多了一个：“%2”"_s.arg(command, operands[wanted]));
    };
    if (command == u"compile"_s) {
        operandCount(1, u"compile 需要一个图表文件"_s);
        return Compile(AbsolutePath(operands[0]));
    }
    if (command == u"image"_s) {
        operandCount(2, u"image 需要一个程序清单文件和一个映像文件"_s);
        return Image(AbsolutePath(operands[0]),
                     operands[1] == u"-"_s ? operands[1] : AbsolutePath(operands[1]), allowEmpty);
    }
    if (command == u"download"_s) {
        operandCount(1, u"download 需要一个程序清单文件"_s);
        if (!hasPort || port.trimmed().isEmpty())
            throw EUsageError(u"download 需要用 --port 指定串口"_s);
        return Download(AbsolutePath(operands[0]), port, allowEmpty);
    }
    throw EUsageError(u"未知选项“%1”"_s.arg(command));
}

// Single-dash arguments other than -h are left to the toolkit's own options
// (-platform, -style and the like) for the editor.
bool IsCommand(const char* arg) {
    const std::string a(arg);
    return a == "compile" || a == "image" || a == "download" || a == "-h" ||
           (a.size() > 2 && a.starts_with("--"));
}

} // namespace

std::optional<int> RunCommandLine(int argc, char* argv[]) {
    if (argc < 2 || !IsCommand(argv[1]))
        return std::nullopt;
    TConsoleApplication application(argc, argv);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(argv[i]);
    try {
        return Run(args);
    } catch (const EUsageError& e) {
        WriteText(stderr, e.Message + u'\n' + UsageText());
        return ExitUsage;
    } catch (const std::exception& e) {
        WriteError(ExceptionMessageText(e));
        return ExitFailure;
    } catch (...) {
        WriteError(u"未知错误"_s);
        return ExitFailure;
    }
}
