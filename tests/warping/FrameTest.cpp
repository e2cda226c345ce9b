#include "warping/FrameGeometry.h"
#include "warping/FreeTransformFrame.h"
#include "warping/RotateFrame.h"
#include "warping/ZoomFrame.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <numbers>

namespace halvera::testing {
namespace {

constexpr double kPi = std::numbers::pi;

// Truncated corners may land a pixel off where real arithmetic puts them exactly.
void ExpectNear(PixelPoint actual, PixelPoint expected, const char* what) {
    EXPECT_LE(std::abs(actual.x - expected.x), 1) << what << " x " << actual.x;
    EXPECT_LE(std::abs(actual.y - expected.y), 1) << what << " y " << actual.y;
}

TEST(FrameGeometry, HandlesAreCornersAndTruncatedEdgeMidpoints) {
    const FrameHandles handles = FrameHandlePoints(RegionBoxCorners(PixelRect{2, 3, 7, 9}));
    EXPECT_EQ(handles[0], (PixelPoint{8, 3}));
    EXPECT_EQ(handles[1], (PixelPoint{5, 3}));
    EXPECT_EQ(handles[3], (PixelPoint{2, 6})); // (3 + 10) / 2
    EXPECT_EQ(handles[7], (PixelPoint{8, 6}));
    EXPECT_EQ(HitFrameHandle(handles, {11, 0}, 3), 0);
    EXPECT_EQ(HitFrameHandle(handles, {12, 0}, 3), -1);
    EXPECT_EQ(HitFrameHandle(handles, {12, 0}, 4), 0);
}

TEST(FrameGeometry, InsideFollowsTheEvenOddRule) {
    const QuadCorners frame = RegionBoxCorners(PixelRect{0, 0, 9, 9});
    EXPECT_TRUE(IsInsideQuad(frame, {5, 5}));
    EXPECT_FALSE(IsInsideQuad(frame, {11, 5}));
    EXPECT_FALSE(IsInsideQuad(frame, {5, -1}));
    // Turned inside out (a bow tie): each half is still inside.
    const QuadCorners bowTie{{{10, 0}, {0, 0}, {10, 10}, {0, 10}}};
    EXPECT_TRUE(IsInsideQuad(bowTie, {5, 2}));
    EXPECT_FALSE(IsInsideQuad(bowTie, {1, 5}));
}

TEST(FrameGeometry, AnglesRunCounterClockwiseWithYUp) {
    const RealPoint centre{5, 5};
    EXPECT_DOUBLE_EQ(AngleAround(centre, {9, 5}), 0.0);
    EXPECT_DOUBLE_EQ(AngleAround(centre, {5, 1}), kPi / 2); // above on screen
    EXPECT_DOUBLE_EQ(AngleAround(centre, {5, 9}), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(AngleAround(centre, centre), 0.0);
    EXPECT_EQ(OctantOf(22.4 * kPi / 180), 0);
    EXPECT_EQ(OctantOf(22.6 * kPi / 180), 1);
    EXPECT_EQ(OctantOf(kPi / 2), 2);
    EXPECT_EQ(OctantOf(350 * kPi / 180), 0);
    EXPECT_DOUBLE_EQ(WrapAngleOnce(2 * kPi), 0.0);
    EXPECT_DOUBLE_EQ(WrapAngleOnce(-kPi / 2), 3 * kPi / 2);
}

TEST(ZoomFrame, StartsAroundTheBoxAndStretchesByItsHandles) {
    ZoomFrame frame(PixelRect{10, 20, 29, 29}); // 20 x 10
    EXPECT_EQ(frame.Destination(), (PixelRect{10, 20, 30, 30}));
    frame.Drag(7, {49, 25}, {30, 25}); // right edge
    frame.Drag(5, {20, 39}, {20, 30}); // bottom edge
    EXPECT_EQ(frame.Destination(), (PixelRect{10, 20, 49, 39}));
    EXPECT_DOUBLE_EQ(frame.HorizontalRatio(), 2.0);
    EXPECT_DOUBLE_EQ(frame.VerticalRatio(), 2.0);
    frame.Drag(ZoomFrame::kInside, {15, 21}, {10, 20});
    EXPECT_EQ(frame.Destination(), (PixelRect{15, 21, 54, 40}));
    frame.Drag(ZoomFrame::kNothing, {0, 0}, {15, 21});
    EXPECT_EQ(frame.Destination(), (PixelRect{15, 21, 54, 40}));
}

TEST(ZoomFrame, ARightEdgeDraggedPastTheLeftMirrorsAndCornersStopAt10240) {
    ZoomFrame frame(PixelRect{10, 20, 29, 29});
    frame.Drag(0, {0, 25}, {30, 20}); // top-right corner to the left of the left edge
    EXPECT_EQ(frame.Destination(), (PixelRect{10, 25, 0, 30}));
    frame.Drag(6, {50000, -50000}, {0, 30});
    EXPECT_EQ(frame.Destination(), (PixelRect{10, 25, 10240, -10240}));
}

TEST(RotateFrame, TurnsAboutItsCentreAndCommitsTheAngleOnRelease) {
    RotateFrame frame(PixelRect{0, 0, 9, 9}); // corners (10,0) (0,0) (0,10) (10,10)
    EXPECT_DOUBLE_EQ(frame.centre().x, 5.0);
    frame.Turn({15, 5}, {5, -5}); // a quarter turn counter-clockwise
    EXPECT_NEAR(frame.dragAngle(), kPi / 2, 1e-12);
    const QuadCorners turned = frame.Corners();
    ExpectNear(turned[kTopRight], {0, 0}, "top-right");
    ExpectNear(turned[kTopLeft], {0, 10}, "top-left");
    ExpectNear(turned[kBottomRight], {10, 0}, "bottom-right");
    frame.Release(RotateFrame::kOutside);
    EXPECT_NEAR(frame.angle(), kPi / 2, 1e-12);
    EXPECT_EQ(frame.dragAngle(), 0.0);
    EXPECT_EQ(frame.source(), RegionBoxCorners(PixelRect{0, 0, 9, 9}));

    // Three more quarter turns come back to the start and to angle 0.
    for (int k = 0; k < 3; ++k) {
        frame.Turn({15, 5}, {5, -5});
        frame.Release(RotateFrame::kOutside);
    }
    EXPECT_NEAR(std::min(frame.angle(), 2 * kPi - frame.angle()), 0.0, 1e-9);
    ExpectNear(frame.Corners()[kTopRight], {10, 0}, "back");
}

TEST(RotateFrame, EdgeHandlesWorkInTheTurnedFrame) {
    RotateFrame frame(PixelRect{0, 0, 9, 9});
    // Unturned: the right edge follows the mouse's x, symmetric about the centre row.
    frame.DragHandle(7, {14, 2});
    ExpectNear(frame.Corners()[kTopRight], {14, 0}, "right edge top");
    ExpectNear(frame.Corners()[kBottomRight], {14, 10}, "right edge bottom");
    frame.Release(7);
    EXPECT_DOUBLE_EQ(frame.centre().x, 7.0);

    // A quarter turn puts the frame's right edge (corners 0 and 3) on top;
    // dragging its handle upwards moves that edge up.
    RotateFrame turned(PixelRect{0, 0, 9, 9});
    turned.Turn({15, 5}, {5, -5});
    turned.Release(RotateFrame::kOutside);
    turned.DragHandle(7, {5, -4});
    ExpectNear(turned.Corners()[kTopRight], {0, -4}, "corner 0");
    ExpectNear(turned.Corners()[kBottomRight], {10, -4}, "corner 3");
    ExpectNear(turned.Corners()[kTopLeft], {0, 10}, "corner 1 stays");
}

TEST(RotateFrame, ACornerHandleKeepsTheOppositeCornerAndAFlatFrameIsUnfolded) {
    RotateFrame frame(PixelRect{0, 0, 9, 9});
    frame.DragHandle(6, {16, 14}); // bottom-right corner
    const QuadCorners corners = frame.Corners();
    EXPECT_EQ(corners[kBottomRight], (PixelPoint{16, 14}));
    EXPECT_EQ(corners[kTopRight], (PixelPoint{16, 0}));
    EXPECT_EQ(corners[kBottomLeft], (PixelPoint{0, 14}));
    EXPECT_EQ(corners[kTopLeft], (PixelPoint{0, 0}));

    RotateFrame flat(PixelRect{0, 0, 9, 9});
    flat.DragHandle(1, {5, 10}); // the top edge onto the bottom edge
    const QuadCorners unfolded = flat.Corners();
    EXPECT_EQ(unfolded[kBottomRight].y, 10);
    EXPECT_EQ(unfolded[kTopRight].y, 9); // 0.001 short of it, truncated
}

TEST(FreeTransformFrame, HitTestPrefersCornersThenThePivot) {
    const FreeTransformFrame frame(PixelRect{0, 0, 39, 29});
    EXPECT_EQ(frame.pivot(), (PixelPoint{20, 15}));
    EXPECT_EQ(frame.HitTest({45, 5}), 0);
    EXPECT_EQ(frame.HitTest({-5, 35}), 2);
    EXPECT_EQ(frame.HitTest({26, 9}), FreeTransformFrame::kPivot);
    EXPECT_EQ(frame.HitTest({30, 20}), FreeTransformFrame::kInside);
    EXPECT_EQ(frame.HitTest({60, 60}), FreeTransformFrame::kOutside);
}

TEST(FreeTransformFrame, TurnsAboutThePivotAndMovesIt) {
    FreeTransformFrame frame(PixelRect{0, 0, 39, 29});                     // pivot (20, 15)
    frame.Drag(FreeTransformFrame::kOutside, {20, 5}, {30, 15}, {30, 15}); // a quarter turn
    ExpectNear(frame.corners()[kTopRight], {5, -5}, "top-right");
    ExpectNear(frame.corners()[kBottomLeft], {35, 35}, "bottom-left");
    frame.Release();
    EXPECT_NEAR(frame.angle(), kPi / 2, 1e-12);

    // The pivot moves alone; the corners stay and the angle starts again.
    const QuadCorners before = frame.corners();
    frame.Drag(FreeTransformFrame::kPivot, {0, 0}, {20, 15}, {20, 15});
    EXPECT_EQ(frame.pivot(), (PixelPoint{0, 0}));
    EXPECT_EQ(frame.corners(), before);
    EXPECT_EQ(frame.angle(), 0.0);
}

TEST(FreeTransformFrame, CornersFollowTheMouseWithinTheLimits) {
    FreeTransformFrame frame(PixelRect{0, 0, 39, 29});
    frame.Drag(3, {50, 44}, {40, 30}, {40, 30});
    EXPECT_EQ(frame.corners()[kBottomRight], (PixelPoint{50, 44}));
    frame.Drag(FreeTransformFrame::kInside, {15, 12}, {10, 10}, {10, 10});
    EXPECT_EQ(frame.corners()[kTopLeft], (PixelPoint{5, 2}));
    frame.Drag(0, {20000, -30000}, {45, 2}, {45, 2});
    EXPECT_EQ(frame.corners()[kTopRight], (PixelPoint{10240, -10240}));
    EXPECT_EQ(frame.source(), RegionBoxCorners(PixelRect{0, 0, 39, 29}));
}

} // namespace
} // namespace halvera::testing
