#pragma once

// Geometry of the chart canvas as plain integer arithmetic: connection points,
// interiors for hit tests, picture placement, selection marks and scrolling an
// object into view. Kept free of widgets so that every rule can be tested on
// its own.

#include <array>
#include <cstdint>
#include <optional>

struct TFcPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TFcPoint&, const TFcPoint&) = default;
};

// Half-open rectangle: Left <= x < Right, Top <= y < Bottom.
struct TFcRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TFcPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    bool ContainsRect(const TFcRect& r) const {
        return r.Left >= Left && r.Top >= Top && r.Right <= Right && r.Bottom <= Bottom;
    }
    bool Intersects(const TFcRect& r) const {
        return !IsEmpty() && !r.IsEmpty() && r.Left < Right && Left < r.Right && r.Top < Bottom &&
               Top < r.Bottom;
    }
    // Union in the Windows sense: an empty rectangle contributes nothing.
    TFcRect United(const TFcRect& r) const;
    TFcRect Inflated(int32_t d) const { return {Left - d, Top - d, Right + d, Bottom + d}; }
    friend bool operator==(const TFcRect&, const TFcRect&) = default;
};

struct TFcBounds {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;

    TFcRect Rect() const { return {Left, Top, Left + Width, Top + Height}; }
    friend bool operator==(const TFcBounds&, const TFcBounds&) = default;
};

inline constexpr int FcConnectionPointCount = 16;

// Point n (0..15, clockwise from the top-left corner) of an object; numbers
// outside the range are taken modulo 16.
TFcPoint FcConnectionPoint(const TFcBounds& b, int n);

// The area inside the outline: the corners (L, T) and (L + W - 1, T + H - 1)
// moved inwards by the outline width. Its width is Right - Left, so a 90 x 32
// box with a one-pixel outline has an 87 x 29 inner area.
TFcRect FcInnerRect(const TFcBounds& b, int outlineWidth);

// Where a picture of the given size goes inside the inner area, or nothing
// when it does not fit entirely. Alignment codes: 0 left/top, 1 centre,
// 2 right/bottom.
std::optional<TFcPoint> FcPicturePlace(const TFcRect& inner, int picWidth, int picHeight,
                                       int hAlign, int vAlign);

// Whether p lies on the body of an object (its shape without the outline
// ring). Shape 0 and a rectangle drawn with a 3D edge lose only their
// outermost pixel.
bool FcBodyContains(const TFcBounds& b, int shape, int edgeKind, int outlineWidth, TFcPoint p);

// Whether p lies within tolerance pixels of the segment a-b.
bool FcSegmentHit(TFcPoint a, TFcPoint b, TFcPoint p, int tolerance);

// Bounding box of the pixels of the segment a-b.
TFcRect FcSegmentBounds(TFcPoint a, TFcPoint b);

inline constexpr int FcMarkSize = 5;

// Centres of the eight selection marks, clockwise from the top-left corner.
std::array<TFcPoint, 8> FcSelectionMarkCentres(const TFcBounds& b);

// New scroll offset after bringing rect (client coordinates) into a client
// area of the given size; inner replaces rect when rect is larger than the
// client area. Answers nothing when no scrolling is needed.
std::optional<TFcPoint> FcScrollIntoView(const TFcRect& rect, const TFcRect& inner, int clientWidth,
                                         int clientHeight, TFcPoint offset);
