#pragma once

// Small value types shared by the canvas and its items: colours in the
// blue-green-red order of the chart's data, the item font and the option set.

#include "chart/FcGeometry.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>

// 0x00BBGGRR.
using TColor = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clSkyBlue = 0xF0CAA6;

inline QColor FcToQColor(TColor c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

enum TFcFontStyle : uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

inline constexpr uint8_t DEFAULT_CHARSET = 1;
inline constexpr uint8_t GB2312_CHARSET = 134;

struct TFcFont {
    QString Name = QStringLiteral("MS Sans Serif");
    // Negative: character height without leading, in pixels.
    int Height = -11;
    uint8_t Style = 0;
    TColor Color = clBlack;
    uint8_t Charset = DEFAULT_CHARSET;

    QFont ToQFont() const;
    friend bool operator==(const TFcFont&, const TFcFont&) = default;
};

enum TFcOption : uint8_t {
    fcoCanDelete = 1 << 0,
    fcoCanDrag = 1 << 1,
    fcoCanSelect = 1 << 2,
    fcoMultiSelect = 1 << 3,
    fcoHideSelection = 1 << 4,
    fcoDelOnClick = 1 << 5,
};
using TFcOptions = uint8_t;

inline QRect FcToQRect(const TFcRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
