// The POSIX side of the user's files: opening without blocking on pipes,
// and the write-to-temporary, fsync, rename sequence with every step checked.

#include "files/UserFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

void CheckWriteTarget(const QString& target, const QString& what);

namespace {

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool IsDiskFull(int error) {
    return error == ENOSPC || error == EDQUOT;
}

// A Chinese sentence on what to do, before the system's own wording.
QString ReasonText(int error) {
    switch (error) {
    case ENOENT:
        return u"文件或文件夹不存在"_s;
    case EACCES:
    case EPERM:
        return u"没有权限"_s;
    case EROFS:
        return u"这个位置是只读的"_s;
    default:
        return QString();
    }
}

QString WithReason(const QString& sentence, int error) {
    const QString reason = ReasonText(error);
    return reason.isEmpty() ? u"%1：%2"_s.arg(sentence, SystemText(error))
                            : u"%1，%2：%3"_s.arg(sentence, reason, SystemText(error));
}

class TFd {
public:
    explicit TFd(int fd) : Fd(fd) {}
    ~TFd() {
        if (Fd >= 0)
            ::close(Fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return Fd; }
    // Closes now and answers the error of close, or 0.
    int Close() {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int Fd;
};

int WriteAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size_t(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += done;
        size -= done;
    }
    return 0;
}

[[noreturn]] void FailWrite(int error, const QString& target, const QString& what) {
    const QString shown = QDir::toNativeSeparators(target);
    if (IsDiskFull(error))
        throw EUserFileError(
            EUserFileError::TKind::DiskFull,
            u"磁盘已满（%1），%2“%3”没有保存，原来的文件没有改变。请腾出磁盘空间或保存到别的位置。"_s
                .arg(SystemText(error), what, shown));
    throw EUserFileError(EUserFileError::TKind::CannotWrite,
                         WithReason(u"无法保存%1“%2”，原来的文件没有改变"_s.arg(what, shown),
                                    error));
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

QByteArray ReadUserFile(const QString& path, const QString& what, qint64 limit) {
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray native = QFile::encodeName(path);
    // Without O_NONBLOCK, opening a pipe that nobody writes waits for ever.
    TFd fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0)
        throw EUserFileError(EUserFileError::TKind::CannotOpen,
                             WithReason(u"无法打开%1“%2”"_s.arg(what, shown), errno));
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        throw EUserFileError(EUserFileError::TKind::CannotOpen,
                             WithReason(u"无法打开%1“%2”"_s.arg(what, shown), errno));
    if (!S_ISREG(info.st_mode))
        throw EUserFileError(
            EUserFileError::TKind::NotRegular,
            S_ISDIR(info.st_mode)
                ? u"“%1”是一个文件夹，不是%2。"_s.arg(shown, what)
                : u"“%1”不是普通文件（而是设备或管道），不能作为%2打开。"_s.arg(shown, what));
    const auto tooLarge = [&](qint64 size) {
        return EUserFileError(
            EUserFileError::TKind::TooLarge,
            u"“%1”有 %2 MB，超过了%3最多 %4 MB 的大小，它不是%3。"_s.arg(shown)
                .arg((size + 1024 * 1024 - 1) / (1024 * 1024))
                .arg(what)
                .arg(limit / (1024 * 1024)));
    };
    if (qint64(info.st_size) > limit)
        throw tooLarge(qint64(info.st_size));
    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw EUserFileError(EUserFileError::TKind::CannotOpen,
                                 WithReason(u"无法读取%1“%2”"_s.arg(what, shown), errno));
        }
        if (got == 0)
            break;
        // A file that grows while it is read is bounded all the same.
        if (bytes.size() + got > limit)
            throw tooLarge(bytes.size() + got);
        bytes.append(buffer, got);
    }
    return bytes;
}

void WriteUserFile(const QString& path, QByteArrayView bytes, const QString& what) {
    const QString target = WriteTargetOf(path);
    CheckWriteTarget(target, what);
    const QByteArray nativeTarget = QFile::encodeName(target);
    struct stat existing {};
    const bool exists = ::stat(nativeTarget.constData(), &existing) == 0;

    // The temporary file sits beside the target so that the rename stays on
    // one file system and replaces the target in one step.
    const QFileInfo info(target);
    QByteArray temp =
        QFile::encodeName(info.absolutePath() + u"/."_s + info.fileName() + u".XXXXXX"_s);
    TFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        FailWrite(errno, target, what);
    struct TRemove {
        const QByteArray& Name;
        bool Keep = false;
        ~TRemove() {
            if (!Keep)
                ::unlink(Name.constData());
        }
    } removeTemp{temp};

    if (exists) {
        ::fchmod(fd.Get(), existing.st_mode & 07777);
        // Root saving a pupil's file must not take it over.
        if (::geteuid() == 0 && ::fchown(fd.Get(), existing.st_uid, existing.st_gid) != 0) {
            // Kept as root's then; the content is what matters.
        }
    } else {
        ::fchmod(fd.Get(), NewFileMode());
    }
    if (const int error = WriteAll(fd.Get(), bytes.data(), bytes.size()))
        FailWrite(error, target, what);
    // A full disk or a failing device may only show itself here.
    if (::fsync(fd.Get()) != 0 && errno != EINVAL && errno != ENOTSUP)
        FailWrite(errno, target, what);
    if (const int error = fd.Close())
        FailWrite(error, target, what);
    if (::rename(temp.constData(), nativeTarget.constData()) != 0)
        FailWrite(errno, target, what);
    removeTemp.Keep = true;
    // Makes the rename itself durable; a folder that cannot be synced is no
    // reason to report the save as failed.
    TFd folder(::open(QFile::encodeName(info.absolutePath()).constData(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}
