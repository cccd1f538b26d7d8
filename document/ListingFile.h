#pragma once

// Export and import of the listing pane as a GBK text file, one line per
// listing line, each ending in CR LF.

#include <QString>
#include <QStringList>

// Writes the lines atomically: the old file stays as it was unless the whole
// new content is on disk. Throws std::runtime_error (with a Chinese message
// naming the line) when a line holds a character GBK cannot represent, and
// EUserFileError when the file cannot be written; nothing is written then.
void WriteListingFile(const QString& path, const QStringList& lines);

// The file's lines, split at CR LF, a lone CR or a lone LF, decoded from GBK;
// a UTF-8 byte order mark at the start is skipped. Throws EUserFileError when
// the file cannot be read, is no regular file or is far too large.
QStringList ReadListingFile(const QString& path);

// "程序清单文件", the name of such a file in messages.
QString ListingFileWhat();

// Splits text at CR LF, lone CR or lone LF; a final line end starts no line.
QStringList SplitListingLines(const QString& text);
