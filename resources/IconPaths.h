#pragma once

#include <QString>

// Resource paths of the pictures compiled into dd_resources, for the places
// that number them: palette item N shows kind N's icon, toolbar button N its own.
QString PaletteIconPath(int kind);    // ":/icons/palette/kind07.svg"
QString ToolbarIconPath(int button);  // ":/icons/toolbar/SpeedButton7.svg"
