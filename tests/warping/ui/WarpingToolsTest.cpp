// The warping commands and tools on a real view, driven by real mouse events.
#include "ViewHarness.h"
#include "view/CommandIds.h"
#include "warping/ui/FreeTransformTool.h"
#include "warping/ui/RotateTool.h"
#include "warping/ui/ZoomFrameTool.h"

#include <QTest>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numbers>

namespace halvera::testing {
namespace {

// The client point showing image pixel (x, y) (the harness shows 100 %).
QPoint At(CMavView& view, int x, int y) {
    return ClientPointOf(view, x, y);
}

// Runs a tool command and returns the tool it installed.
template <class Tool> Tool* StartTool(CMavView& view, int command) {
    EXPECT_TRUE(view.onCommand(command));
    EXPECT_EQ(view.toolMode(), ToolMode::Warping);
    return dynamic_cast<Tool*>(view.tool());
}

// What a press on image pixel (x, y) would grab.
template <class Tool> int HitAt(CMavView& view, const Tool& tool, int x, int y) {
    const QPoint p = At(view, x, y);
    return tool.HitTest(view, p.x(), p.y());
}

// Hovers over image pixel (x, y) with no button held and tells whether the
// view then shows `cursor`.
bool HoverShows(ViewHarness& harness, int x, int y, CursorId cursor) {
    harness.moveMouse(At(harness.view(), x, y));
    return harness.showsCursor(cursor);
}

void Drag(ViewHarness& harness, QPoint from, QPoint to) {
    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::NoModifier, from);
    harness.moveMouse((from + to) / 2, Qt::LeftButton);
    harness.moveMouse(to, Qt::LeftButton);
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::NoModifier, to);
}

void ExpectShows(ViewHarness& harness, int x, int y, QPoint expected) {
    const QPoint shown = ShownAt(harness, x, y);
    EXPECT_LE(std::abs(shown.x() - expected.x()), 1) << x << "," << y << " shows " << shown.x();
    EXPECT_LE(std::abs(shown.y() - expected.y()), 1) << x << "," << y << " shows " << shown.y();
}

TEST(WarpingCommands, FlipsMoveImageAndMaskAsOneUndoStep) {
    ViewHarness harness(20, 10);
    CMavView& view = harness.view();
    SetByte(harness.doc().mask(), 3, 1, 255);
    ASSERT_TRUE(view.onCommand(kIdHorizontalFlip));
    EXPECT_EQ(ShownAt(harness, 3, 0), QPoint(3, 9)); // top to bottom
    EXPECT_EQ(ByteAt(harness.doc().mask(), 3, 8), 255);
    EXPECT_EQ(ByteAt(harness.doc().mask(), 3, 1), 0);
    ASSERT_TRUE(view.onCommand(kIdVerticalFlip));
    EXPECT_EQ(ShownAt(harness, 0, 0), QPoint(19, 9)); // and left to right
    ASSERT_TRUE(view.onCommand(kIdEditUndo));
    ASSERT_TRUE(view.onCommand(kIdEditUndo));
    EXPECT_EQ(ShownAt(harness, 3, 0), QPoint(3, 0));
    EXPECT_EQ(ByteAt(harness.doc().mask(), 3, 1), 255);
    EXPECT_EQ(ByteAt(harness.doc().mask(), 3, 8), 0);
}

TEST(ZoomFrameTool, ACornerDragScalesTheImageWithoutAnUndoStep) {
    ViewHarness harness(60, 40);
    CMavView& view = harness.view();
    auto* tool = StartTool<CZoomFrameTool>(view, kIdZoomTransform);
    ASSERT_NE(tool, nullptr);
    // The bottom-right corner (60, 40) dragged to (30, 20): half size.
    Drag(harness, At(view, 60, 40), At(view, 30, 20));
    EXPECT_EQ(tool->frame().Destination(), (PixelRect{0, 0, 30, 20}));
    ExpectShows(harness, 10, 10, QPoint(20, 20));
    ExpectShows(harness, 45, 30, QPoint(45, 30)); // outside the frame: as it was
    EXPECT_FALSE(harness.doc().CanUndo());
    // A release outside the frame renders nothing.
    const Bgr before = PixelAt(harness.doc().image(), 10, 10);
    Drag(harness, At(view, 50, 35), At(view, 52, 36));
    EXPECT_EQ(PixelAt(harness.doc().image(), 10, 10), before);
}

TEST(RotateTool, CornerDragsAndTurnsEachRenderOneUndoStep) {
    ViewHarness harness(60, 40);
    CMavView& view = harness.view();
    auto* tool = StartTool<CRotateTool>(view, kIdRotate);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->HitTest(view, At(view, 60, 40).x(), At(view, 60, 40).y()), 6);

    // The bottom-right corner to (50, 30): the frame shrinks to 50 x 30.
    Drag(harness, At(view, 60, 40), At(view, 50, 30));
    EXPECT_EQ(tool->frame().Corners()[kBottomRight], (PixelPoint{50, 30}));
    // One step of image and mask, which fills two slots of the history.
    EXPECT_EQ(harness.doc().undoHistory().count(), 2);
    ExpectShows(harness, 25, 15, QPoint(30, 20));
    ExpectShows(harness, 55, 35, QPoint(55, 35));

    // A quarter turn counter-clockwise about the centre (25, 15), dragged from
    // outside the frame.
    Drag(harness, At(view, 70, 15), At(view, 25, -30));
    EXPECT_NEAR(tool->frame().angle(), std::numbers::pi / 2, 1e-9);
    EXPECT_EQ(harness.doc().undoHistory().count(), 4);
    // The frame's top-left corner (0, 0) now lies at the bottom-left (10, 40),
    // give or take the truncation of its place: (12, 37), about 3 pixels up and
    // 2 or 3 right of it, shows about (3.6, 3) of the image.
    const PixelPoint topLeft = tool->frame().Corners()[kTopLeft];
    EXPECT_LE(std::abs(topLeft.x - 10) + std::abs(topLeft.y - 40), 1);
    ExpectShows(harness, 12, 37, QPoint(3, 3));

    ASSERT_TRUE(view.onCommand(kIdEditUndo));
    ASSERT_TRUE(view.onCommand(kIdEditUndo));
    EXPECT_EQ(ShownAt(harness, 25, 15), QPoint(25, 15));
}

TEST(RotateTool, FinishMakesTheRotatedImageTheNewStartingPoint) {
    ViewHarness harness(60, 40);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdRotate));
    Drag(harness, At(view, 60, 40), At(view, 50, 30));
    ASSERT_TRUE(view.onCommand(kIdZoomTool));
    EXPECT_TRUE(SamePixels(harness.doc().working(), harness.doc().image()));
}

TEST(FreeTransformTool, CornerDragsAndTurnsRenderButAPivotDragDoesNot) {
    ViewHarness harness(60, 40);
    CMavView& view = harness.view();
    auto* tool = StartTool<CFreeTransformTool>(view, kIdFreeTransform);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->frame().pivot(), (PixelPoint{30, 20}));

    // Only the bottom-right corner moves: a perspective distortion.
    Drag(harness, At(view, 60, 40), At(view, 50, 30));
    EXPECT_EQ(tool->frame().corners()[kBottomRight], (PixelPoint{50, 30}));
    EXPECT_EQ(tool->frame().corners()[kTopRight], (PixelPoint{60, 0}));
    EXPECT_EQ(harness.doc().undoHistory().count(), 2); // one step of image and mask
    ExpectShows(harness, 1, 1, QPoint(1, 1));
    EXPECT_NE(ShownAt(harness, 40, 25), QPoint(40, 25));

    // The pivot alone: nothing is rendered, no step is taken.
    const DibBlock before =
        MakeRgb(60, 40, [&](int x, int y) { return PixelAt(harness.doc().image(), x, y); });
    Drag(harness, At(view, 30, 20), At(view, 10, 10));
    EXPECT_EQ(tool->frame().pivot(), (PixelPoint{10, 10}));
    EXPECT_EQ(harness.doc().undoHistory().count(), 2);
    EXPECT_TRUE(SamePixels(before.dib(), harness.doc().image()));

    // A turn about the moved pivot, from outside the frame: a second step.
    Drag(harness, At(view, 10, 45), At(view, 25, 10));
    EXPECT_NEAR(tool->frame().angle(), std::numbers::pi / 2, 1e-9);
    EXPECT_EQ(harness.doc().undoHistory().count(), 4);
    EXPECT_FALSE(SamePixels(before.dib(), harness.doc().image()));

    // Another tool takes over: the transformed image is the new starting point.
    ASSERT_TRUE(view.onCommand(kIdZoomTool));
    EXPECT_TRUE(SamePixels(harness.doc().working(), harness.doc().image()));
}

// The frame of a 60 x 40 image: corners (60, 0), (0, 0), (0, 40), (60, 40),
// edge midpoints (30, 0), (0, 20), (30, 40), (60, 20); shown at 100 %.
TEST(ZoomFrameTool, HandlesAreHitWithinFourPixelsAndShowTheirCursors) {
    ViewHarness harness(60, 40);
    CMavView& view = harness.view();
    auto* tool = StartTool<CZoomFrameTool>(view, kIdZoomTransform);
    ASSERT_NE(tool, nullptr);
    const auto hit = [&](int x, int y) {
        return HitAt(view, *tool, x, y);
    };
    EXPECT_EQ(hit(34, -4), 1);
    EXPECT_EQ(hit(30, -5), ZoomFrame::kNothing);
    EXPECT_EQ(hit(56, 44), 6);
    EXPECT_EQ(hit(20, 20), ZoomFrame::kInside);

    EXPECT_TRUE(HoverShows(harness, 30, 0, CursorId::ResizeVertical));
    EXPECT_TRUE(HoverShows(harness, 30, 40, CursorId::ResizeVertical));
    EXPECT_TRUE(HoverShows(harness, 0, 20, CursorId::ResizeHorizontal));
    EXPECT_TRUE(HoverShows(harness, 60, 20, CursorId::ResizeHorizontal));
    EXPECT_TRUE(HoverShows(harness, 60, 0, CursorId::ResizeCorner));
    EXPECT_TRUE(HoverShows(harness, 20, 20, CursorId::Move));
    EXPECT_TRUE(HoverShows(harness, 70, 50, CursorId::Adjust));
}

TEST(RotateTool, HandlesAreHitWithinThreePixelsAndCursorsFollowTheOctant) {
    ViewHarness harness(60, 40);
    CMavView& view = harness.view();
    auto* tool = StartTool<CRotateTool>(view, kIdRotate);
    ASSERT_NE(tool, nullptr);
    const auto hit = [&](int x, int y) {
        return HitAt(view, *tool, x, y);
    };
    EXPECT_EQ(hit(63, 23), 7);
    EXPECT_EQ(hit(64, 20), RotateFrame::kOutside);
    EXPECT_EQ(hit(20, 20), RotateFrame::kInside);

    // Seen from the centre (30, 20): the right-edge handle lies in octant 0,
    // the top one in octant 2 and the top-right corner (33.7 degrees) in 1.
    EXPECT_TRUE(HoverShows(harness, 60, 20, CursorId::ResizeHorizontal));
    EXPECT_TRUE(HoverShows(harness, 30, 0, CursorId::ResizeVertical));
    EXPECT_TRUE(HoverShows(harness, 60, 0, CursorId::ResizeRising));
    EXPECT_TRUE(HoverShows(harness, 0, 0, CursorId::ResizeFalling));
    EXPECT_TRUE(HoverShows(harness, 20, 20, CursorId::Move));
    EXPECT_TRUE(HoverShows(harness, 75, 20, CursorId::RotateRight));
    EXPECT_TRUE(HoverShows(harness, 30, -10, CursorId::RotateUp));
    EXPECT_TRUE(HoverShows(harness, -10, 60, CursorId::RotateDownLeft));
}

TEST(FreeTransformTool, CursorsShowCornersPivotInsideAndTheTurnAroundThePivot) {
    ViewHarness harness(60, 40);
    CMavView& view = harness.view();
    ASSERT_NE(StartTool<CFreeTransformTool>(view, kIdFreeTransform), nullptr);
    EXPECT_TRUE(HoverShows(harness, 65, -5, CursorId::ResizeCorner));
    EXPECT_TRUE(HoverShows(harness, 36, 26, CursorId::Adjust)); // the pivot (30, 20)
    EXPECT_TRUE(HoverShows(harness, 10, 10, CursorId::Move));
    EXPECT_TRUE(HoverShows(harness, -10, 20, CursorId::RotateLeft));
    EXPECT_TRUE(HoverShows(harness, 30, 50, CursorId::RotateDown));
}

} // namespace
} // namespace halvera::testing
