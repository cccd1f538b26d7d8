// The serial port on POSIX terminals: termios on a non-blocking descriptor,
// TIOCOUTQ for what is still to be sent, a socket notifier on the GUI thread
// for what arrives.

#include "download/CommControl.h"

#include "download/DownloadError.h"

#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct TLineSettings {
    speed_t Speed = B9600;
    tcflag_t Parity = 0;
    tcflag_t DataBits = CS8;
    bool TwoStopBits = false;
};

std::optional<TLineSettings> ParseSettings(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    TLineSettings s;
    static const std::pair<int, speed_t> speeds[] = {
        {1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    const auto speed = std::find_if(std::begin(speeds), std::end(speeds),
                                    [&](const auto& p) { return p.first == baud; });
    if (!ok || speed == std::end(speeds))
        return std::nullopt;
    s.Speed = speed->second;
    const QString parity = parts[1].trimmed().toLower();
    if (parity == u"n"_s)
        s.Parity = 0;
    else if (parity == u"e"_s)
        s.Parity = PARENB;
    else if (parity == u"o"_s)
        s.Parity = PARENB | PARODD;
    else
        return std::nullopt;
    const int bits = parts[2].trimmed().toInt(&ok);
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    if (!ok || bits < 5 || bits > 8)
        return std::nullopt;
    s.DataBits = sizes[bits - 5];
    const QString stop = parts[3].trimmed();
    if (stop != u"1"_s && stop != u"2"_s)
        return std::nullopt;
    s.TwoStopBits = stop == u"2"_s;
    return s;
}

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString OpenFailureReason(int error) {
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return u"设备不存在"_s;
    case EACCES:
    case EPERM:
        return u"没有使用权限。当前用户必须获准使用串口（在 Debian 上须是 dialout 组的成员，"
               u"加入后重新登录）"_s;
    case EBUSY:
    case EWOULDBLOCK:
        return u"串口正被其他程序使用"_s;
    case ENOTTY:
        return u"这不是串口设备，请选择 1 到 8 或串口的设备路径（如 /dev/ttyUSB0）：%1"_s.arg(
            SystemReason(error));
    default:
        return SystemReason(error);
    }
}

} // namespace

struct TCommControl::TPlatform {
    // Guards Fd against being closed on the GUI thread while the transfer
    // thread writes to it or asks for its output count.
    mutable std::mutex Mutex;
    int Fd = -1;
    std::atomic<bool> HungUp{false};
    QSocketNotifier* Notifier = nullptr;
    QByteArray Received; // read from the device, not yet taken by Input
};

TCommControl::TCommControl(QObject* parent)
    : QObject(parent), Platform(std::make_unique<TPlatform>()), Device(u"/dev/ttyS0"_s) {}

TCommControl::~TCommControl() {
    Close();
}

void TCommControl::SetSettings(const QString& settings) {
    if (!ParseSettings(settings))
        throw EDownloadError(u"串口参数“%1”无效"_s.arg(settings));
    LineSettings = settings;
}

void TCommControl::SetHandshaking(int handshaking) {
    if (handshaking != 0)
        throw EDownloadError(u"不支持的串口握手方式 %1"_s.arg(handshaking));
    HandshakingMode = handshaking;
}

void TCommControl::SetCommPort(int port) {
    if (port < 1 || port > 8)
        throw EDownloadError(u"串口号 %1 无效：请选择 1 到 8"_s.arg(port));
    Port = port;
    Device = u"/dev/ttyS%1"_s.arg(port - 1);
}

void TCommControl::SetDeviceName(const QString& device) {
    // Any absolute path is tried: a link made for a virtual port lives
    // anywhere; opening tells whether it is a serial device.
    if (!device.startsWith(u'/') || device.size() <= 1 || device == u"/dev/"_s)
        throw EDownloadError(
            u"“%1”不是串口设备：请选择 1 到 8，或输入设备路径（如 /dev/ttyUSB0）"_s.arg(device));
    Device = device;
}

bool TCommControl::PortOpen() const {
    std::lock_guard lock(Platform->Mutex);
    return Platform->Fd >= 0;
}

void TCommControl::SetPortOpen(bool open) {
    if (open == PortOpen())
        return;
    if (open)
        Open();
    else
        Close();
}

void TCommControl::Open() {
    const auto fail = [&](int error) {
        throw EDownloadError(u"无法打开串口 %1：%2"_s.arg(Device, OpenFailureReason(error)));
    };
    const auto settings = ParseSettings(LineSettings);
    if (!settings)
        throw EDownloadError(u"串口参数“%1”无效"_s.arg(LineSettings));
    const QByteArray path = QFile::encodeName(Device);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    const auto failClosing = [&](int error) {
        ::close(fd);
        fail(error);
    };
    if (!isatty(fd))
        failClosing(ENOTTY);
    // Two programs talking to one robot at once garble both downloads.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        failClosing(errno == EWOULDBLOCK ? EBUSY : errno);
    ::ioctl(fd, TIOCEXCL);
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        failClosing(errno);
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | settings->DataBits | settings->Parity;
    if (settings->TwoStopBits)
        tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // One byte at a time; with O_NONBLOCK an empty line reads as EAGAIN, so
    // a read of 0 bytes can only mean the device has gone.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, settings->Speed);
    ::cfsetospeed(&tio, settings->Speed);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        failClosing(errno);
    int lines = (Rts ? TIOCM_RTS : 0) | (Dtr ? TIOCM_DTR : 0);
    if (lines != 0)
        ::ioctl(fd, TIOCMBIS, &lines); // a pseudo-terminal has no modem lines
    ::tcflush(fd, TCIOFLUSH);

    {
        std::lock_guard lock(Platform->Mutex);
        Platform->Fd = fd;
    }
    Platform->HungUp.store(false);
    Platform->Received.clear();
    LastEvent = 0;
    Platform->Notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(Platform->Notifier, &QSocketNotifier::activated, this, &TCommControl::Readable);
}

void TCommControl::Close() {
    if (Platform->Notifier) {
        Platform->Notifier->setEnabled(false);
        // Close may run inside the notifier's own signal (an OnComm handler).
        Platform->Notifier->deleteLater();
        Platform->Notifier = nullptr;
    }
    std::lock_guard lock(Platform->Mutex);
    if (Platform->Fd >= 0) {
        ::close(Platform->Fd);
        Platform->Fd = -1;
    }
    Platform->Received.clear();
}

void TCommControl::Readable() {
    const int fd = Platform->Fd; // only the GUI thread changes it
    if (fd < 0 || Platform->HungUp.load())
        return;
    bool hungUp = false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            Platform->Received.append(buffer, qsizetype(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        hungUp = true; // end of file, or EIO once the other end is gone
        break;
    }
    if (hungUp) {
        // A vanished device stays readable forever; listening on would spin.
        Platform->HungUp.store(true);
        if (Platform->Notifier)
            Platform->Notifier->setEnabled(false);
    }
    if (!Platform->Received.isEmpty()) {
        LastEvent = CommEvReceive;
        emit OnComm();
    }
    if (hungUp && Platform->Fd >= 0) {
        LastEvent = CommEvHangUp;
        emit OnComm();
    }
}

int TCommControl::InBufferCount() const {
    std::lock_guard lock(Platform->Mutex);
    if (Platform->Fd < 0)
        return 0;
    int waiting = 0;
    if (!Platform->HungUp.load() && ::ioctl(Platform->Fd, FIONREAD, &waiting) != 0)
        waiting = 0;
    return int(Platform->Received.size()) + waiting;
}

QByteArray TCommControl::Input() {
    if (Platform->Fd >= 0 && !Platform->HungUp.load()) {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(Platform->Fd, buffer, sizeof buffer)) > 0)
            Platform->Received.append(buffer, qsizetype(n));
    }
    QByteArray bytes;
    bytes.swap(Platform->Received);
    return bytes;
}

void TCommControl::SetInBufferCount(int count) {
    std::lock_guard lock(Platform->Mutex);
    if (Platform->Fd < 0)
        throw EDownloadError(u"串口未打开：请先打开串口"_s);
    // Discarding starts every download: refuse one that cannot get through.
    if (Platform->HungUp.load())
        throw EDownloadError(u"串口 %1 已断开：请关闭串口，检查连接后重新打开"_s.arg(Device));
    if (count == 0) {
        ::tcflush(Platform->Fd, TCIFLUSH);
        Platform->Received.clear();
    }
}

int TCommControl::OutBufferCount() const {
    std::lock_guard lock(Platform->Mutex);
    if (Platform->Fd < 0)
        throw EDownloadError(u"串口未打开：请先打开串口"_s);
    int pending = 0;
    if (::ioctl(Platform->Fd, TIOCOUTQ, &pending) != 0)
        throw EDownloadError(u"串口 %1 出错：%2"_s.arg(Device, SystemReason(errno)));
    return pending;
}

void TCommControl::SetOutBufferCount(int count) {
    std::lock_guard lock(Platform->Mutex);
    if (Platform->Fd < 0)
        throw EDownloadError(u"串口未打开：请先打开串口"_s);
    if (count == 0)
        ::tcflush(Platform->Fd, TCOFLUSH);
}

void TCommControl::Output(const QByteArray& bytes) {
    std::lock_guard lock(Platform->Mutex);
    if (Platform->Fd < 0)
        throw EDownloadError(u"串口未打开：请先打开串口"_s);
    if (Platform->HungUp.load())
        throw EDownloadError(u"串口 %1 已断开"_s.arg(Device));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(Platform->Fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{Platform->Fd, POLLOUT, 0};
            if (::poll(&p, 1, 1000) == 1 && (p.revents & POLLOUT))
                continue;
            throw EDownloadError(u"串口 %1 发送超时"_s.arg(Device));
        }
        throw EDownloadError(u"串口 %1 发送失败：%2"_s.arg(Device, SystemReason(errno)));
    }
}

void TCommControl::WriteByte(std::uint8_t byte) {
    Output(QByteArray(1, char(byte)));
}
