#include "resources/IconPaths.h"

using namespace Qt::StringLiterals;

QString PaletteIconPath(int kind) {
    return u":/icons/palette/kind%1.svg"_s.arg(kind, 2, 10, QChar(u'0'));
}

QString ToolbarIconPath(int button) {
    return u":/icons/toolbar/SpeedButton%1.svg"_s.arg(button);
}
