#pragma once

// Export and import of the listing pane as a GBK text file, one line per
// listing line, each ending in CR LF.

#include <QString>
#include <QStringList>

// Writes the lines atomically: the old file stays as it was unless the whole
// new content has been written. Throws std::runtime_error (with a Chinese
// message naming the line) when a line holds a character GBK cannot
// represent; nothing is written then.
void WriteListingFile(const QString& path, const QStringList& lines);

// The file's lines, split at CR LF, a lone CR or a lone LF, decoded from GBK.
// Throws std::runtime_error when the file cannot be read.
QStringList ReadListingFile(const QString& path);

// Splits text at CR LF, lone CR or lone LF; a final line end starts no line.
QStringList SplitListingLines(const QString& text);
