#pragma once

// The download window: the user picks a serial port, may still edit the
// listing copy, and downloads it to the robot. Its download session owns the
// serial port and the running transfer and ends that transfer before the
// port goes away.

#include "download/DownloadSession.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TFormDownload;
}
class TCommControl;

class TFormDownload : public QDialog {
    Q_OBJECT
public:
    explicit TFormDownload(QWidget* parent = nullptr);
    ~TFormDownload() override;

    // The main window's download command: the listing pane's text becomes the
    // listing copy, then the window is shown modally. Returns the modal result.
    int ShowWithListing(const QString& listing);
    void SetListing(const QString& listing);

    void Button1Click();
    void Button2Click();
    void Button6Click();
    void SendImageFile(const QString& fileName);
    static QString NewTempFileName() { return TDownloadSession::NewTempFileName(); }

    // Asked before a listing without a program line is sent, since its image
    // only erases the robot's program; true goes on. Tests put their own in.
    std::function<bool(const QString& question)> ConfirmEmptyProgram;

    bool Downloading() const { return Session.Downloading(); }
    TDownloadSession Session;
    TCommControl* const Comm1;

    // However the window is left ("退出下载", the close box, Esc), a running
    // transfer is stopped first: its completion box would otherwise pop up
    // later over the main window, and the robot would go on being written to
    // by a window that is gone.
    void done(int result) override;

signals:
    // After each transfer, just before its completion message is shown.
    void DownloadFinished(int result, int imageLength);

private:
    void TransferDone(int result, int imageLength);

    std::unique_ptr<Ui::TFormDownload> UI;
};
