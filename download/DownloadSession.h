#pragma once

// One robot line and the downloads over it, without a window: the port with
// the robot's settings, the receive queue and the running transfer. The
// download window and the command line both drive one; it stops and joins a
// running transfer before the port and the queue go away.

#include "download/ReceiveQueue.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TCommControl;
class TSendDataThread;

class TDownloadSession : public QObject {
    Q_OBJECT
public:
    explicit TDownloadSession(QObject* parent = nullptr);
    ~TDownloadSession() override;

    TCommControl* Port() const { return Comm1; }

    // "1" to "8" (any integer; out of range is refused by the port), or an
    // absolute device path. Throws EDownloadError when it cannot be opened,
    // naming a path that is no serial device as such.
    void OpenPort(const QString& text);
    void ClosePort();

    // The listing's lines as the robot gets them: split at LF, a trailing CR
    // dropped, GBK-encoded. Throws EDownloadError naming the first line that
    // holds a character GBK cannot represent.
    static std::vector<std::string> ListingLines(const QString& listing);

    // Builds the image of the listing into buffer. Throws EDownloadError with
    // the user's message when a statement or the image is too long.
    static void BuildListingImage(const QString& listing, std::vector<std::uint8_t>& buffer);

    // How many of the listing's lines are program lines; a listing with none
    // would only clear the robot. Throws as ListingLines does.
    static std::size_t ProgramLineCount(const QString& listing);
    static QString EmptyProgramText();

    // Builds the listing's image into a temporary file and sends it; does
    // nothing while a transfer runs. Throws EDownloadError.
    void DownloadListing(const QString& listing);

    // Starts sending the image file; does nothing while a transfer runs or
    // when the file is missing. Throws EDownloadError.
    void SendImageFile(const QString& fileName);

    bool Downloading() const { return SendDataThread != nullptr; }

    // Ends a running transfer and waits for its thread. A stopped transfer
    // reports nothing: Finished is not emitted for it, not even later.
    void Stop();

    // "N字节数据发送成功" or "N字节数据发送失败".
    static QString CompletionText(int result, int imageLength);

    // A fresh, empty file in the temporary folder (qxr followed by six
    // characters); the caller removes it.
    static QString NewTempFileName();

signals:
    // A protocol trace line, on the session's thread.
    void TraceLine(const QString& line);
    // After each transfer, once its thread has ended: 0 succeeded, 1 failed.
    void Finished(int result, int imageLength);

private:
    // The image file's bytes; throws EDownloadError when it cannot be read or
    // is longer than one download may carry.
    static QByteArray ReadImageFile(const QString& fileName);
    void StartTransfer(const QByteArray& bytes);
    void Comm1Comm();
    void TransferDone();

    TCommControl* Comm1 = nullptr;
    TReceiveQueue ReceiveQueue;
    // Written by the transfer thread as its last act, read by TransferDone.
    int TransferResult = 0;
    std::int32_t ImageLength = 0;
    std::unique_ptr<TSendDataThread> SendDataThread;
};
