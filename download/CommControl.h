#pragma once

// The serial port, with the operations of a serial communications control.
// Output and OutBufferCount may be called from the transfer thread while the
// GUI thread receives; everything else belongs to the GUI thread, which also
// gets OnComm. Errors throw EDownloadError naming the device and the reason.
// The platform part lives in one source file.

#include "download/TransferPort.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class TCommControl : public QObject, public ITransferPort {
    Q_OBJECT
public:
    // CommEvent values: bytes are waiting; the device went away (unplugged,
    // or the other end of a pseudo-terminal closed). After a hang-up the port
    // reports nothing more until it is closed and opened again.
    static constexpr int CommEvReceive = 2;
    static constexpr int CommEvHangUp = 1001;

    explicit TCommControl(QObject* parent = nullptr);
    ~TCommControl() override;

    // "baud,parity,data bits,stop bits", such as "115200,n,8,1".
    void SetSettings(const QString& settings);
    QString Settings() const { return LineSettings; }
    // 0 is the only handshaking the robot's line uses: none.
    void SetHandshaking(int handshaking);
    int Handshaking() const { return HandshakingMode; }
    void SetRThreshold(int threshold) { ReceiveThreshold = threshold; }
    int RThreshold() const { return ReceiveThreshold; }
    void SetSThreshold(int threshold) { SendThreshold = threshold; }
    int SThreshold() const { return SendThreshold; }
    // 1 is binary: bytes arrive unchanged, zero bytes included.
    void SetInputMode(int mode) { Mode = mode; }
    int InputMode() const { return Mode; }
    void SetRTSEnable(bool enable) { Rts = enable; }
    bool RTSEnable() const { return Rts; }
    void SetDTREnable(bool enable) { Dtr = enable; }
    bool DTREnable() const { return Dtr; }
    void SetInBufferSize(int size) { InSize = size; }
    int InBufferSize() const { return InSize; }
    void SetOutBufferSize(int size) { OutSize = size; }
    int OutBufferSize() const { return OutSize; }

    // COM1..COM8; any other number is refused.
    void SetCommPort(int port);
    int CommPort() const { return Port; }
    // Any absolute /dev/ path, for adapters that are not COM1..COM8.
    void SetDeviceName(const QString& device);
    QString DeviceName() const { return Device; }

    void SetPortOpen(bool open);
    bool PortOpen() const;

    // Setting either count to 0 discards what waits in that direction.
    int InBufferCount() const;
    void SetInBufferCount(int count);
    int OutBufferCount() const;
    void SetOutBufferCount(int count);

    void Output(const QByteArray& bytes);
    QByteArray Input();
    int CommEvent() const { return LastEvent; }

    void WriteByte(std::uint8_t byte) override;
    int PendingOutput() override { return OutBufferCount(); }

signals:
    void OnComm();

private:
    void Open();
    void Close();
    void Readable();

    struct TPlatform;
    std::unique_ptr<TPlatform> Platform;

    QString LineSettings = QStringLiteral("9600,n,8,1");
    int HandshakingMode = 0;
    int ReceiveThreshold = 0;
    int SendThreshold = 0;
    int Mode = 0;
    bool Rts = false;
    bool Dtr = false;
    int InSize = 1024;
    int OutSize = 512;
    int Port = 1;
    QString Device;
    int LastEvent = 0;
};
