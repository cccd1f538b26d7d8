#pragma once

// A real, tiny file system for the tests of a full disk: a tmpfs of a few
// pages mounted on a temporary folder, filled by a ballast file. Mounting
// needs root; where it is refused the test is skipped with the reason.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class TSmallDisk {
public:
    explicit TSmallDisk(int kilobytes = 16) {
        if (!Dir.isValid()) {
            Why = QStringLiteral("no temporary folder");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
        if (::mount("tmpfs", QFile::encodeName(Dir.path()).constData(), "tmpfs", 0,
                    options.constData()) != 0) {
            Why = QStringLiteral("cannot mount a tmpfs here (needs root): ") +
                  QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        Mounted = true;
    }
    ~TSmallDisk() {
        if (Mounted)
            ::umount2(QFile::encodeName(Dir.path()).constData(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool IsMounted() const { return Mounted; }
    QString Path() const { return Dir.path(); }
    QString FilePath(const QString& name) const { return Dir.filePath(name); }

    // Fills the disk with a ballast file until nothing more fits, then gives
    // back about `leave` bytes (whole pages).
    void Fill(qint64 leave = 0) {
        const QByteArray name = QFile::encodeName(Dir.filePath(QStringLiteral(".ballast")));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd < 0)
            return;
        const QByteArray page(4096, 'B');
        while (::write(fd, page.constData(), size_t(page.size())) > 0) {
        }
        // Single bytes fill the last partial page.
        while (::write(fd, "B", 1) == 1) {
        }
        if (leave > 0) {
            const off_t size = ::lseek(fd, 0, SEEK_END);
            if (::ftruncate(fd, size > leave ? size - leave : 0) != 0) {
            }
        }
        ::close(fd);
    }

    // The names in the folder other than the ballast: a failed write must
    // leave no temporary file behind.
    QStringList Names() const {
        QStringList names = QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.removeAll(QStringLiteral(".ballast"));
        return names;
    }

    QString Why;

private:
    QTemporaryDir Dir;
    bool Mounted = false;
};
