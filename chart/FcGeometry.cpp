#include "chart/FcGeometry.h"

#include <algorithm>
#include <cstdlib>

TFcRect TFcRect::United(const TFcRect& r) const {
    if (r.IsEmpty())
        return *this;
    if (IsEmpty())
        return r;
    return {std::min(Left, r.Left), std::min(Top, r.Top), std::max(Right, r.Right),
            std::max(Bottom, r.Bottom)};
}

TFcPoint FcConnectionPoint(const TFcBounds& b, int n) {
    const int32_t l = b.Left, t = b.Top, w = b.Width, h = b.Height;
    const int32_t r = l + w - 1, bt = t + h - 1;
    switch (((n % FcConnectionPointCount) + FcConnectionPointCount) % FcConnectionPointCount) {
    case 0:
        return {l, t};
    case 1:
        return {l + w / 4, t};
    case 2:
        return {l + w / 2, t};
    case 3:
        return {l + w - w / 4, t};
    case 4:
        return {r, t};
    case 5:
        return {r, t + h / 4};
    case 6:
        return {r, t + h / 2};
    case 7:
        return {r, t + h - h / 4};
    case 8:
        return {r, bt};
    case 9:
        return {l + w - w / 4, bt};
    case 10:
        return {l + w / 2, bt};
    case 11:
        return {l + w / 4, bt};
    case 12:
        return {l, bt};
    case 13:
        return {l, t + h - h / 4};
    case 14:
        return {l, t + h / 2};
    default:
        return {l, t + h / 4};
    }
}

TFcRect FcInnerRect(const TFcBounds& b, int outlineWidth) {
    return {b.Left + outlineWidth, b.Top + outlineWidth, b.Left + b.Width - 1 - outlineWidth,
            b.Top + b.Height - 1 - outlineWidth};
}

namespace {

int32_t AlignIn(int32_t start, int32_t space, int32_t size, int align) {
    switch (align) {
    case 1:
        return start + (space - size) / 2;
    case 2:
        return start + space - size;
    default:
        return start;
    }
}

} // namespace

std::optional<TFcPoint> FcPicturePlace(const TFcRect& inner, int picWidth, int picHeight,
                                       int hAlign, int vAlign) {
    if (inner.Width() < picWidth || inner.Height() < picHeight)
        return std::nullopt;
    return TFcPoint{AlignIn(inner.Left, inner.Width(), picWidth, hAlign),
                    AlignIn(inner.Top, inner.Height(), picHeight, vAlign)};
}

bool FcBodyContains(const TFcBounds& b, int shape, int edgeKind, int outlineWidth, TFcPoint p) {
    const int ring = (shape == 0 || (shape == 1 && edgeKind != 0)) ? 1 : outlineWidth;
    const TFcRect body{b.Left + ring, b.Top + ring, b.Left + b.Width - ring,
                       b.Top + b.Height - ring};
    if (!body.Contains(p))
        return false;
    if (shape != 3)
        return true;
    // Rounded rectangle: corner ellipses W/2 wide and H/2 high, shrunk by the ring.
    const double rx = std::max(0.0, b.Width / 4.0 - ring);
    const double ry = std::max(0.0, b.Height / 4.0 - ring);
    if (rx <= 0 || ry <= 0)
        return true;
    const double px = p.X + 0.5, py = p.Y + 0.5;
    double cx, cy;
    if (px < body.Left + rx)
        cx = body.Left + rx;
    else if (px > body.Right - rx)
        cx = body.Right - rx;
    else
        return true;
    if (py < body.Top + ry)
        cy = body.Top + ry;
    else if (py > body.Bottom - ry)
        cy = body.Bottom - ry;
    else
        return true;
    const double dx = (px - cx) / rx, dy = (py - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

bool FcSegmentHit(TFcPoint a, TFcPoint b, TFcPoint p, int tolerance) {
    const double ax = a.X, ay = a.Y, bx = b.X, by = b.Y, px = p.X, py = p.Y;
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double qx = ax + t * dx - px, qy = ay + t * dy - py;
    return qx * qx + qy * qy <= double(tolerance) * tolerance;
}

TFcRect FcSegmentBounds(TFcPoint a, TFcPoint b) {
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1};
}

std::array<TFcPoint, 8> FcSelectionMarkCentres(const TFcBounds& b) {
    const int32_t l = b.Left, t = b.Top, r = b.Left + b.Width - 1, bt = b.Top + b.Height - 1;
    const int32_t mx = b.Left + b.Width / 2, my = b.Top + b.Height / 2;
    return {TFcPoint{l, t}, {mx, t}, {r, t}, {r, my}, {r, bt}, {mx, bt}, {l, bt}, {l, my}};
}

std::optional<TFcPoint> FcScrollIntoView(const TFcRect& rect, const TFcRect& inner, int clientWidth,
                                         int clientHeight, TFcPoint offset) {
    const TFcRect r = (rect.Width() > clientWidth || rect.Height() > clientHeight) ? inner : rect;
    int32_t newLeft = r.Left;
    if (r.Right > clientWidth)
        newLeft += clientWidth - r.Right;
    if (newLeft < 0)
        newLeft = 0;
    int32_t newTop = r.Top;
    if (r.Bottom > clientHeight)
        newTop += clientHeight - r.Bottom;
    if (newTop < 0)
        newTop = 0;
    if (newLeft == r.Left && newTop == r.Top)
        return std::nullopt;
    return TFcPoint{offset.X + (r.Left - newLeft), offset.Y + (r.Top - newTop)};
}
