#pragma once

// The files a user names: charts, listings and program images. Reading takes
// only regular files and only up to a size no real chart comes near, so a
// device, a pipe or a huge file chosen by mistake is refused at once instead
// of blocking or eating memory. Writing replaces a file only once the whole
// new content is on disk: on any failure (a full disk included, however late
// it shows itself) the old file stays byte for byte and no temporary file is
// left behind. Devices, pipes and folders are never replaced, and neither
// are the program and its phrase file.

#include "xml/SimpleXML.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>


// A file error (what() is the message in UTF-8) that says which kind of
// failure it was.
class EUserFileError : public EFileError {
public:
    enum class TKind { CannotOpen, NotRegular, TooLarge, DiskFull, Protected, CannotWrite };
    EUserFileError(TKind kind, const QString& message)
        : EFileError(message.toStdString()), Kind(kind), Text(message) {}
    QString Message() const { return Text; }
    TKind Kind;

private:
    QString Text;
};

// A chart is a few kilobytes and the largest program image 64 KB.
inline constexpr qint64 MaxUserFileSize = 64 * 1024 * 1024;

// The whole content of a regular file. what names the file for the user
// ("流程图文件", "程序清单文件"). Throws EUserFileError.
QByteArray ReadUserFile(const QString& path, const QString& what,
                        qint64 limit = MaxUserFileSize);

// Replaces or creates path with bytes; a symbolic link is followed and its
// target written. The existing file's permissions are kept. Throws
// EUserFileError, leaving everything as it was.
void WriteUserFile(const QString& path, QByteArrayView bytes, const QString& what);

// True when both paths name one existing file (through links as well).
bool IsSameFile(const QString& a, const QString& b);

// The file a write to path would change: path with its links followed.
QString WriteTargetOf(const QString& path);
