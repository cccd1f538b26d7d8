#include "download/frmDownload.h"

#include "download/CommControl.h"
#include "download/DownloadError.h"
#include "download/ProgramImage.h"
#include "download/UDownloadDo.h"
#include "gbk/GbkText.h"
#include "ui_frmDownload.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace {

const QString MakerAddress = u"www.veltrano.example"_s;

QPixmap MakerLogo() {
    QPixmap logo(36, 36);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xE0, 0x20, 0x20));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 34, 34), 7, 7);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(8, 9, 20, 15), 3, 3); // the robot's head
    p.setBrush(QColor(0xE0, 0x20, 0x20));
    p.drawEllipse(QPointF(13.5, 16.5), 2.5, 2.5);
    p.drawEllipse(QPointF(22.5, 16.5), 2.5, 2.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(11, 26, 4, 5));
    p.drawRect(QRectF(21, 26, 4, 5));
    return logo;
}

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

EDownloadError ImageErrorMessage(const EImageError& e, const QString& fileName) {
    switch (e.Kind) {
    case EImageError::TKind::StatementTooLong:
        return EDownloadError(u"第 %1 行的语句有 %2 字节，超过了机器人允许的 %3 字节（含引号），"
                              u"无法下载。请把这一行分成几行。"_s.arg(e.LineNumber)
                                  .arg(qulonglong(e.Size))
                                  .arg(qulonglong(MaxQuotedTextSize)));
    case EImageError::TKind::ImageTooLong:
        return EDownloadError(
            u"程序有 %1 字节，超过了一次最多可下载的 %2 字节，无法下载。"_s.arg(qulonglong(e.Size))
                .arg(qulonglong(MaxImageSize)));
    case EImageError::TKind::WriteFailed:
        break;
    }
    return EDownloadError(u"无法写入临时程序文件 %1"_s.arg(QDir::toNativeSeparators(fileName)));
}

} // namespace

TFormDownload::TFormDownload(QWidget* parent)
    : QDialog(parent), UI(std::make_unique<Ui::TFormDownload>()) {
    UI->setupUi(this);
    QFont font;
    // Where 宋体 is missing, one CJK family for all text keeps lines of
    // Chinese and of plain ASCII the same height.
    font.setFamilies({u"宋体"_s, u"SimSun"_s, u"Noto Sans CJK SC"_s, u"WenQuanYi Zen Hei"_s});
    font.setPixelSize(16);
    setFont(font);
    setFixedSize(569, 343);
    UI->Label2->setText(MakerAddress);
    UI->Image1->setPixmap(MakerLogo());
    UI->Image1->setToolTip(MakerAddress);
    UI->Memo1->setVisible(false);

    // FormCreate: the robot's line settings; the port stays closed.
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

    connect(UI->Button1, &QPushButton::clicked, this, &TFormDownload::Button1Click);
    connect(UI->Button2, &QPushButton::clicked, this, &TFormDownload::Button2Click);
    connect(UI->Button6, &QPushButton::clicked, this, &TFormDownload::Button6Click);
    connect(UI->Button5, &QPushButton::clicked, this, &QDialog::accept);
    connect(Comm1, &TCommControl::OnComm, this, &TFormDownload::Comm1Comm);
}

TFormDownload::~TFormDownload() {
    // The transfer uses the port and the queue: it must end before they go.
    if (SendDataThread)
        SendDataThread->RequestStop();
    SendDataThread.reset();
}

void TFormDownload::SetListing(const QString& listing) {
    UI->Memo2->setPlainText(listing);
}

int TFormDownload::ShowWithListing(const QString& listing) {
    SetListing(listing);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    return exec();
}

void TFormDownload::Button1Click() {
    const QString text = UI->ComboBox1->currentText().trimmed();
    static const QRegularExpression number(u"^[+-]?\\d+$"_s);
    if (number.match(text).hasMatch())
        Comm1->SetCommPort(text.toInt());
    else if (text.startsWith(u"/dev/"_s))
        Comm1->SetDeviceName(text);
    else
        Comm1->SetCommPort(0); // refused with the port message
    Comm1->SetPortOpen(true);
    UI->Button1->setEnabled(false);
    UI->Button2->setEnabled(true);
}

void TFormDownload::Button2Click() {
    Comm1->SetPortOpen(false);
    UI->Button1->setEnabled(true);
    UI->Button2->setEnabled(false);
}

void TFormDownload::Button6Click() {
    if (Downloading() || UI->Memo2->document()->isEmpty())
        return;
    const QStringList texts = UI->Memo2->toPlainText().split(u'\n');
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
    const QString fileName = NewTempFileName();
    const TTempFileGuard removeFile(fileName);
    try {
        BuildImage(lines, QFile::encodeName(fileName).toStdString(), ImageBuffer);
    } catch (const EImageError& e) {
        throw ImageErrorMessage(e, fileName);
    }
    SendImageFile(fileName);
}

void TFormDownload::SendImageFile(const QString& fileName) {
    if (Downloading() || !QFile::exists(fileName))
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EDownloadError(u"无法读取程序文件 %1：%2"_s.arg(QDir::toNativeSeparators(fileName),
                                                              file.errorString()));
    const QByteArray bytes = file.readAll();
    file.close();
    if (qulonglong(bytes.size()) > MaxImageSize)
        throw EDownloadError(
            u"程序有 %1 字节，超过了一次最多可下载的 %2 字节，无法下载。"_s.arg(bytes.size())
                .arg(qulonglong(MaxImageSize)));
    ReceiveQueue.Clear();
    Comm1->SetInBufferCount(0);
    Comm1->SetOutBufferCount(0);
    ImageLength = std::int32_t(bytes.size());
    std::vector<std::uint8_t> image(bytes.begin(), bytes.end());
    SendDataThread = std::make_unique<TSendDataThread>(
        *Comm1, ReceiveQueue, std::move(image),
        [this](const std::string& line) {
            QMetaObject::invokeMethod(
                this,
                [this, text = QString::fromStdString(line)] { UI->Memo1->appendPlainText(text); },
                Qt::QueuedConnection);
        },
        [this](int result) {
            TransferResult = result;
            QMetaObject::invokeMethod(this, &TFormDownload::TransferDone, Qt::QueuedConnection);
        });
    UI->Button6->setEnabled(false);
}

void TFormDownload::Comm1Comm() {
    if (Comm1->CommEvent() != TCommControl::CommEvReceive)
        return;
    if (Comm1->InBufferCount() <= 0)
        return;
    const QByteArray bytes = Comm1->Input();
    ReceiveQueue.QueueBytes(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), size_t(bytes.size())));
}

void TFormDownload::TransferDone() {
    // The thread has posted this as its last act; joining is immediate.
    SendDataThread.reset();
    const int result = TransferResult;
    emit DownloadFinished(result, ImageLength);
    const QString text = QString::number(ImageLength) +
                         (result == 0 ? u"字节数据发送成功"_s : u"字节数据发送失败"_s);
    if (result == 0)
        QMessageBox::information(this, windowTitle(), text);
    else
        QMessageBox::warning(this, windowTitle(), text);
    UI->Button6->setEnabled(true);
}

QString TFormDownload::NewTempFileName() {
    QTemporaryFile file(QDir::tempPath() + u"/qxrXXXXXX"_s);
    file.setAutoRemove(false);
    if (!file.open())
        throw EDownloadError(u"无法在临时文件夹 %1 中建立文件：%2"_s.arg(
            QDir::toNativeSeparators(QDir::tempPath()), file.errorString()));
    const QString name = file.fileName();
    file.close();
    return name;
}
