#include "measure/MeasureHitTest.h"

#include "measure/BresenhamLine.h"

#include <gtest/gtest.h>
#include <vector>

namespace halvera {
namespace {

std::vector<PixelPoint> Walk(PixelPoint from, PixelPoint to) {
    std::vector<PixelPoint> pixels;
    ForEachLinePixel(from, to, [&](PixelPoint p) { pixels.push_back(p); });
    return pixels;
}

TEST(BresenhamLine, WalksBothEndsIncludedAlongTheLongerAxis) {
    EXPECT_EQ(Walk({0, 0}, {4, 2}),
              (std::vector<PixelPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    EXPECT_EQ(Walk({0, 0}, {-1, -3}),
              (std::vector<PixelPoint>{{0, 0}, {0, -1}, {-1, -2}, {-1, -3}}));
    EXPECT_EQ(Walk({5, 5}, {5, 5}), (std::vector<PixelPoint>{{5, 5}}));
    const auto diagonal = Walk({3, 0}, {0, 3});
    EXPECT_EQ(diagonal.size(), 4u);
    EXPECT_EQ(diagonal.back(), (PixelPoint{0, 3}));
}

TEST(MeasureHitTest, StoredPointsAreHitWithinFivePixelsFirstInStorageOrder) {
    const std::vector<PixelPoint> points = {{100, 100}, {20, 20}, {24, 24}};
    EXPECT_EQ(HitStoredPoint(points, {25, 25}), 1);
    EXPECT_EQ(HitStoredPoint(points, {29, 29}), 2);
    EXPECT_EQ(HitStoredPoint(points, {30, 24}), -1);
    EXPECT_EQ(HitStoredPoint(points, {95, 105}), 0);
}

TEST(MeasureHitTest, LineBodyIsHitNearAnyWalkedPixel) {
    const std::vector<PixelPoint> lines = {{0, 0}, {10, 0}, {0, 50}, {100, 100}};
    EXPECT_EQ(HitLineBody(lines, {60, 80}), 1);
    EXPECT_EQ(HitLineBody(lines, {5, -5}), 0);
    EXPECT_EQ(HitLineBody(lines, {16, 0}), -1);
    EXPECT_EQ(HitLineBody(lines, {60, 95}), -1);
}

TEST(MeasureHitTest, RectangleCornersComeBeforeItsInterior) {
    const std::vector<PixelRect> rectangles = {{10, 10, 50, 40}, {0, 0, 100, 100}};
    EXPECT_EQ(HitRectangle(rectangles, {12, 8}), (RectangleHit{0, RectanglePart::LeftTop}));
    EXPECT_EQ(HitRectangle(rectangles, {54, 12}), (RectangleHit{0, RectanglePart::RightTop}));
    EXPECT_EQ(HitRectangle(rectangles, {50, 40}), (RectangleHit{0, RectanglePart::RightBottom}));
    EXPECT_EQ(HitRectangle(rectangles, {10, 44}), (RectangleHit{0, RectanglePart::LeftBottom}));
    EXPECT_EQ(HitRectangle(rectangles, {30, 25}), (RectangleHit{0, RectanglePart::Interior}));
    EXPECT_EQ(HitRectangle(rectangles, {70, 25}), (RectangleHit{1, RectanglePart::Interior}));
    EXPECT_EQ(HitRectangle(rectangles, {100, 50}), (RectangleHit{})) << "right edge is outside";
}

} // namespace
} // namespace halvera
