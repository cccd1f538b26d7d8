#include "download/frmDownload.h"

#include "download/CommControl.h"
#include "errors/ErrorReport.h"
#include "ui_frmDownload.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

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

} // namespace

TFormDownload::TFormDownload(QWidget* parent)
    : QDialog(parent), Comm1(Session.Port()), UI(std::make_unique<Ui::TFormDownload>()) {
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

    // What a button's command throws is reported at the button.
    connect(UI->Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(UI->Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    connect(UI->Button6, &QPushButton::clicked, this, Guarded([this] { Button6Click(); }));
    connect(UI->Button5, &QPushButton::clicked, this, &QDialog::accept);
    connect(&Session, &TDownloadSession::TraceLine, UI->Memo1, &QPlainTextEdit::appendPlainText);
    connect(&Session, &TDownloadSession::Finished, this, &TFormDownload::TransferDone);
    ConfirmEmptyProgram = [this](const QString& question) {
        return QMessageBox::question(this, windowTitle(), question,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
}

TFormDownload::~TFormDownload() = default;

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
    Session.OpenPort(UI->ComboBox1->currentText());
    UI->Button1->setEnabled(false);
    UI->Button2->setEnabled(true);
}

void TFormDownload::Button2Click() {
    Session.ClosePort();
    UI->Button1->setEnabled(true);
    UI->Button2->setEnabled(false);
}

void TFormDownload::Button6Click() {
    if (Downloading() || UI->Memo2->document()->isEmpty())
        return;
    const QString listing = UI->Memo2->toPlainText();
    if (TDownloadSession::ProgramLineCount(listing) == 0 &&
        !ConfirmEmptyProgram(TDownloadSession::EmptyProgramText() + u"\n\n仍要下载吗？"_s))
        return;
    Session.DownloadListing(listing);
    UI->Button6->setEnabled(!Downloading());
}

void TFormDownload::SendImageFile(const QString& fileName) {
    Session.SendImageFile(fileName);
    UI->Button6->setEnabled(!Downloading());
}

void TFormDownload::done(int result) {
    Session.Stop();
    UI->Button6->setEnabled(true);
    QDialog::done(result);
}

void TFormDownload::TransferDone(int result, int imageLength) {
    emit DownloadFinished(result, imageLength);
    const QString text = TDownloadSession::CompletionText(result, imageLength);
    if (result == 0)
        QMessageBox::information(this, windowTitle(), text);
    else
        QMessageBox::warning(this, windowTitle(), text);
    UI->Button6->setEnabled(true);
}
