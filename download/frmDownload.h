#pragma once

// The download window: the user picks a serial port, may still edit the
// listing copy, and downloads it to the robot. It owns the serial port, the
// receive queue, the image buffer and the running transfer, and stops and
// joins that transfer before any of them goes away.

#include "download/ReceiveQueue.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <vector>

namespace Ui {
class TFormDownload;
}
class TCommControl;
class TSendDataThread;

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
    void Comm1Comm();
    void SendImageFile(const QString& fileName);
    void TransferDone();
    static QString NewTempFileName();

    bool Downloading() const { return SendDataThread != nullptr; }
    TCommControl* Comm1 = nullptr;

signals:
    // After each transfer, just before its completion message is shown.
    void DownloadFinished(int result, int imageLength);

private:
    std::unique_ptr<Ui::TFormDownload> UI;
    TReceiveQueue ReceiveQueue;
    std::vector<std::uint8_t> ImageBuffer;
    // Written by the transfer thread as its last act, read by TransferDone.
    int TransferResult = 0;
    std::int32_t ImageLength = 0;
    std::unique_ptr<TSendDataThread> SendDataThread;
};
