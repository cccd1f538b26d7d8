#pragma once

// Blocks on the system clipboard, so that they can be pasted into another
// window of the program: a chart file's text (the .rer form, GBK) under a
// MIME type of the program's own.

#include "program/Program.h"

#include <QString>

#include <vector>

class QMimeData;

inline const QString BlockMimeType = QStringLiteral("application/x-dedevav-blocks");

// The blocks as clipboard data; the caller hands it to the clipboard.
QMimeData* BlocksMimeData(const std::vector<TProgramBlock>& blocks);

// The blocks the data carries (without ids: pasting gives them new ones);
// empty when it carries none or cannot be read.
std::vector<TProgramBlock> BlocksFromMimeData(const QMimeData* data);
