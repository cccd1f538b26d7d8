#pragma once

// How an object's text is set inside its box. Block heights are fixed (32 or
// 40 pixels) while captions such as "调用子程序:闪灯" are not, so a caption
// that does not fit on one line is broken after its prefix (or, failing
// that, wherever the lines fill up), in the largest pixel size from the
// object's own down to FcMinTextPixelSize whose lines fit, with lines as
// close as the glyphs allow; what still does not fit is cut with "…" and the
// whole text is left to the tooltip.

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QString>

inline constexpr int FcMinTextPixelSize = 11;

struct TFcTextFit {
    QFont Font;
    QList<QString> Lines;
    // Where each line is drawn: the left end of its baseline.
    QList<QPointF> Origins;
    bool Elided = false;
};

TFcTextFit FcFitText(const QString& text, const QFont& font, const QRect& box,
                     Qt::Alignment alignment);
