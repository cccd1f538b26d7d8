#include "download/DownloadSession.h"

#include "download/CommControl.h"
#include "download/DownloadError.h"
#include "download/ProgramImage.h"
#include "download/UDownloadDo.h"
#include "gbk/GbkText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace {

// Removes the temporary image file however the download command ends.
class TTempFileGuard {
public:
    explicit TTempFileGuard(QString name) : Name(std::move(name)) {}
    ~TTempFileGuard() { QFile::remove(Name); }
    TTempFileGuard(const TTempFileGuard&) = delete;
    TTempFileGuard& operator=(const TTempFileGuard&) = delete;

private:
    QString Name;
};

QString ImageTooLongText(qulonglong size) {
    return u"程序有 %1 字节，超过了一次最多可下载的 %2 字节，无法下载。"_s.arg(size).arg(
        qulonglong(MaxImageSize));
}

EDownloadError ImageErrorMessage(const EImageError& e, const QString& fileName) {
    switch (e.Kind) {
    case EImageError::TKind::StatementTooLong:
        return EDownloadError(u"第 %1 行的语句有 %2 字节，超过了机器人允许的 %3 字节（含引号），"
                              u"无法下载。请把这一行分成几行。"_s.arg(e.LineNumber)
                                  .arg(qulonglong(e.Size))
                                  .arg(qulonglong(MaxQuotedTextSize)));
    case EImageError::TKind::ImageTooLong:
        return EDownloadError(ImageTooLongText(qulonglong(e.Size)));
    case EImageError::TKind::LineNumberOutOfRange:
        return EDownloadError(u"清单第 %1 行的行号 %2 超出了机器人允许的 0 到 %3，无法下载。"
                              u"请重新编译，或改正这一行的行号。"_s.arg(qulonglong(e.Row))
                                  .arg(e.LineNumber)
                                  .arg(MaxLineNumber));
    case EImageError::TKind::WriteFailed:
        break;
    }
    return EDownloadError(u"无法写入临时程序文件 %1"_s.arg(QDir::toNativeSeparators(fileName)));
}

} // namespace

TDownloadSession::TDownloadSession(QObject* parent) : QObject(parent) {
    // The robot's line settings; the port stays closed.
    Comm1 = new TCommControl(this);
    Comm1->SetSettings(u"115200,n,8,1"_s);
    Comm1->SetHandshaking(0);
    Comm1->SetRThreshold(1);
    Comm1->SetSThreshold(0);
    Comm1->SetInputMode(1);
    Comm1->SetRTSEnable(true);
    Comm1->SetDTREnable(true);
    Comm1->SetOutBufferSize(2048);
    Comm1->SetInBufferSize(2048);
    connect(Comm1, &TCommControl::OnComm, this, &TDownloadSession::Comm1Comm);
}

TDownloadSession::~TDownloadSession() {
    // The transfer uses the port and the queue: it must end before they go.
    if (SendDataThread)
        SendDataThread->RequestStop();
    SendDataThread.reset();
}

void TDownloadSession::OpenPort(const QString& text) {
    const QString name = text.trimmed();
    static const QRegularExpression number(u"^[+-]?\\d+$"_s);
    if (number.match(name).hasMatch())
        Comm1->SetCommPort(name.toInt());
    else if (name.startsWith(u'/'))
        Comm1->SetDeviceName(name);
    else
        Comm1->SetCommPort(0); // refused with the port message
    Comm1->SetPortOpen(true);
}

void TDownloadSession::ClosePort() {
    Comm1->SetPortOpen(false);
}

std::vector<std::string> TDownloadSession::ListingLines(const QString& listing) {
    const QStringList texts = listing.split(u'\n');
    std::vector<std::string> lines;
    lines.reserve(size_t(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        qsizetype bad = -1;
        // A pasted CR LF would leave a CR after the closing quote and
        // silently drop the line.
        auto bytes = GbkEncode(texts[i].endsWith(u'\r') ? texts[i].chopped(1) : texts[i], &bad);
        if (!bytes) {
            // The robot would get a different text than the user sees.
            const QString character = texts[i].mid(bad, texts[i].at(bad).isHighSurrogate() ? 2 : 1);
            throw EDownloadError(
                u"第 %1 行含有无法用GBK编码表示的字符“%2”，无法下载。"_s.arg(i + 1).arg(character));
        }
        lines.push_back(std::move(*bytes));
    }
    return lines;
}

void TDownloadSession::BuildListingImage(const QString& listing,
                                         std::vector<std::uint8_t>& buffer) {
    const std::vector<std::string> lines = ListingLines(listing);
    try {
        BuildImageBytes(lines, buffer);
    } catch (const EImageError& e) {
        throw ImageErrorMessage(e, QString());
    }
}

std::size_t TDownloadSession::ProgramLineCount(const QString& listing) {
    return ::ProgramLineCount(ListingLines(listing));
}

QString TDownloadSession::EmptyProgramText() {
    return u"程序清单中没有一行是程序行（程序行的样子是：行号 REM \"语句\"），"
           u"下载它只会清除机器人中原有的程序。"_s;
}

void TDownloadSession::DownloadListing(const QString& listing) {
    if (Downloading())
        return;
    const std::vector<std::string> lines = ListingLines(listing);
    const QString fileName = NewTempFileName();
    const TTempFileGuard removeFile(fileName);
    std::vector<std::uint8_t> image;
    try {
        BuildImage(lines, QFile::encodeName(fileName).toStdString(), image);
    } catch (const EImageError& e) {
        throw ImageErrorMessage(e, fileName);
    }
    // The image travels through a temporary file; one that a full disk or
    // another program cut short must not reach the robot.
    QByteArray bytes = ReadImageFile(fileName);
    if (QByteArrayView(bytes) !=
        QByteArrayView(reinterpret_cast<const char*>(image.data()), qsizetype(image.size())))
        throw EDownloadError(u"临时程序文件 %1 的内容不完整（磁盘可能已满），没有下载。"
                             u"请腾出临时文件夹所在磁盘的空间后再试。"_s.arg(
                                 QDir::toNativeSeparators(fileName)));
    StartTransfer(std::move(bytes));
}

QByteArray TDownloadSession::ReadImageFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EDownloadError(u"无法读取程序文件 %1：%2"_s.arg(QDir::toNativeSeparators(fileName),
                                                              file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EDownloadError(u"无法读取程序文件 %1：%2"_s.arg(QDir::toNativeSeparators(fileName),
                                                              file.errorString()));
    if (qulonglong(bytes.size()) > MaxImageSize)
        throw EDownloadError(ImageTooLongText(qulonglong(bytes.size())));
    return bytes;
}

void TDownloadSession::SendImageFile(const QString& fileName) {
    if (Downloading() || !QFile::exists(fileName))
        return;
    StartTransfer(ReadImageFile(fileName));
}

void TDownloadSession::StartTransfer(const QByteArray& bytes) {
    ReceiveQueue.Clear();
    Comm1->SetInBufferCount(0);
    Comm1->SetOutBufferCount(0);
    ImageLength = std::int32_t(bytes.size());
    std::vector<std::uint8_t> image(bytes.begin(), bytes.end());
    SendDataThread = std::make_unique<TSendDataThread>(
        *Comm1, ReceiveQueue, std::move(image),
        [this](const std::string& line) {
            QMetaObject::invokeMethod(
                this, [this, text = QString::fromStdString(line)] { emit TraceLine(text); },
                Qt::QueuedConnection);
        },
        [this](int result) {
            TransferResult = result;
            QMetaObject::invokeMethod(this, &TDownloadSession::TransferDone, Qt::QueuedConnection);
        });
}

void TDownloadSession::Stop() {
    if (!SendDataThread)
        return;
    SendDataThread->RequestStop();
    SendDataThread.reset();
    // The thread's last trace lines and its completion are queued by now;
    // delivered here, the completion finds no transfer and is dropped, so it
    // cannot be taken for the end of a later one.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void TDownloadSession::Comm1Comm() {
    if (Comm1->CommEvent() != TCommControl::CommEvReceive)
        return;
    if (Comm1->InBufferCount() <= 0)
        return;
    const QByteArray bytes = Comm1->Input();
    ReceiveQueue.QueueBytes(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), size_t(bytes.size())));
}

void TDownloadSession::TransferDone() {
    if (!SendDataThread)
        return; // stopped
    // The thread has posted this as its last act; joining is immediate.
    SendDataThread.reset();
    emit Finished(TransferResult, ImageLength);
}

QString TDownloadSession::CompletionText(int result, int imageLength) {
    return QString::number(imageLength) +
           (result == 0 ? u"字节数据发送成功"_s : u"字节数据发送失败"_s);
}

QString TDownloadSession::NewTempFileName() {
    QTemporaryFile file(QDir::tempPath() + u"/qxrXXXXXX"_s);
    file.setAutoRemove(false);
    if (!file.open())
        throw EDownloadError(u"无法在临时文件夹 %1 中建立文件：%2"_s.arg(
            QDir::toNativeSeparators(QDir::tempPath()), file.errorString()));
    const QString name = file.fileName();
    file.close();
    return name;
}
