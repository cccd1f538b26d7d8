#include "chart/FcGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(FcGeometry, ConnectionPointsOfAStackBox) {
    const TFcBounds b{70, 16, 90, 32};
    const TFcPoint expected[16] = {{70, 16},  {92, 16},  {115, 16}, {138, 16}, {159, 16}, {159, 24},
                                   {159, 32}, {159, 40}, {159, 47}, {138, 47}, {115, 47}, {92, 47},
                                   {70, 47},  {70, 40},  {70, 32},  {70, 24}};
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(FcConnectionPoint(b, n), expected[n]) << "point " << n;
}

TEST(FcGeometry, MiddlePointsOfBlockAndMarker) {
    struct Case {
        TFcBounds Bounds;
        TFcPoint Top, Bottom;
    } cases[] = {
        {{10, 20, 90, 32}, {55, 20}, {55, 51}},
        {{95, 57, 40, 14}, {115, 57}, {115, 70}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FcConnectionPoint(c.Bounds, 2), c.Top);
        EXPECT_EQ(FcConnectionPoint(c.Bounds, 10), c.Bottom);
    }
}

TEST(FcGeometry, ZeroSizeObjectPointsFallOneLeftOrAbove) {
    const TFcBounds b{45, 7, 0, 0};
    EXPECT_EQ(FcConnectionPoint(b, 0), (TFcPoint{45, 7}));
    EXPECT_EQ(FcConnectionPoint(b, 4), (TFcPoint{44, 7}));
    EXPECT_EQ(FcConnectionPoint(b, 6), (TFcPoint{44, 7}));
    EXPECT_EQ(FcConnectionPoint(b, 8), (TFcPoint{44, 6}));
    EXPECT_EQ(FcConnectionPoint(b, 10), (TFcPoint{45, 6}));
    EXPECT_EQ(FcConnectionPoint(b, 12), (TFcPoint{45, 6}));
}

TEST(FcGeometry, PictureFitsOnlyInsideTheInnerArea) {
    const TFcBounds b{100, 200, 90, 32};
    const TFcRect framed = FcInnerRect(b, 1);
    EXPECT_EQ(framed.Width(), 87);
    EXPECT_EQ(framed.Height(), 29);
    EXPECT_FALSE(FcPicturePlace(framed, 32, 31, 1, 0));

    const TFcRect bare = FcInnerRect(b, 0);
    EXPECT_EQ(bare.Width(), 89);
    EXPECT_EQ(bare.Height(), 31);
    EXPECT_EQ(FcPicturePlace(bare, 32, 31, 1, 0), (TFcPoint{128, 200}));
    EXPECT_EQ(FcPicturePlace(bare, 32, 31, 0, 2), (TFcPoint{100, 200}));
    EXPECT_EQ(FcPicturePlace(bare, 32, 30, 2, 2), (TFcPoint{157, 201}));
    EXPECT_EQ(FcPicturePlace(bare, 89, 31, 1, 1), (TFcPoint{100, 200}));
    EXPECT_FALSE(FcPicturePlace(bare, 90, 31, 0, 0));
}

TEST(FcGeometry, BodyExcludesTheOutlineRing) {
    const TFcBounds b{0, 0, 40, 14};
    struct Case {
        int Shape, Edge, Outline;
        TFcPoint P;
        bool Hit;
    } cases[] = {
        {1, 5, 1, {0, 0}, false},   {1, 5, 1, {1, 1}, true},   {1, 5, 3, {1, 1}, true},
        {1, 5, 1, {39, 13}, false}, {1, 5, 1, {38, 12}, true}, {1, 0, 3, {2, 5}, false},
        {1, 0, 3, {3, 5}, true},    {0, 0, 0, {0, 5}, false},  {0, 0, 0, {1, 5}, true},
        {0, 0, 1, {40, 5}, false},  {3, 0, 1, {1, 1}, false},  {3, 0, 1, {20, 7}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FcBodyContains(b, c.Shape, c.Edge, c.Outline, c.P), c.Hit)
            << "shape " << c.Shape << " edge " << c.Edge << " outline " << c.Outline << " at "
            << c.P.X << "," << c.P.Y;
}

TEST(FcGeometry, SegmentHitAndBounds) {
    const TFcPoint a{45, -1}, b{45, 9};
    EXPECT_TRUE(FcSegmentHit(a, b, {45, 4}, 1));
    EXPECT_TRUE(FcSegmentHit(a, b, {46, 4}, 1));
    EXPECT_FALSE(FcSegmentHit(a, b, {47, 4}, 1));
    EXPECT_FALSE(FcSegmentHit(a, b, {45, 11}, 1));
    EXPECT_TRUE(FcSegmentHit({3, 3}, {3, 3}, {3, 3}, 1));
    EXPECT_EQ(FcSegmentBounds(b, a), (TFcRect{45, -1, 46, 10}));
}

TEST(FcGeometry, UnionIgnoresEmptyRectangles) {
    const TFcRect r{1, 2, 3, 4};
    EXPECT_EQ(r.United({}), r);
    EXPECT_EQ(TFcRect{}.United(r), r);
    EXPECT_EQ(r.United({10, 0, 10, 50}), r);
    EXPECT_EQ(r.United({-5, 3, 0, 9}), (TFcRect{-5, 2, 3, 9}));
}

TEST(FcGeometry, SelectionMarksSitOnCornersAndMiddles) {
    const auto m = FcSelectionMarkCentres({70, 80, 90, 32});
    const TFcPoint expected[8] = {{70, 80},   {115, 80},  {159, 80}, {159, 96},
                                  {159, 111}, {115, 111}, {70, 111}, {70, 96}};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m[size_t(i)], expected[i]) << i;
}

TEST(FcGeometry, ScrollIntoView) {
    const TFcPoint offset{0, 100};
    // Already visible: no scrolling.
    EXPECT_FALSE(FcScrollIntoView({10, 10, 100, 42}, {11, 11, 98, 40}, 280, 400, offset));
    // Below the client area: scrolled up so that its bottom is the last row.
    EXPECT_EQ(FcScrollIntoView({70, 500, 160, 532}, {71, 501, 158, 530}, 280, 400, offset),
              (TFcPoint{0, 232}));
    // Above it: its top comes to row 0.
    EXPECT_EQ(FcScrollIntoView({70, -60, 160, -28}, {71, -59, 158, -30}, 280, 400, offset),
              (TFcPoint{0, 40}));
    // Taller than the client area: the inner rectangle decides, and its top wins.
    EXPECT_EQ(FcScrollIntoView({0, 50, 10, 500}, {1, 51, 8, 498}, 280, 400, offset),
              (TFcPoint{0, 151}));
}

} // namespace
