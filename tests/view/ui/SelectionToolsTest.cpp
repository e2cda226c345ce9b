#include "MaskArt.h"
#include "ViewHarness.h"
#include "image/RegionOfInterest.h"
#include "view/CommandIds.h"
#include "view/FillMaskRect.h"
#include "view/ui/LassoTool.h"
#include "view/ui/MarqueeTool.h"
#include "view/ui/RoiCutTool.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

// The mask as art, cut to the top-left width x height pixels.
std::string MaskPart(const CDibImage& mask, int width, int height) {
    std::string art;
    for (int y = 0; y < height; ++y) {
        if (y > 0)
            art += '\n';
        for (int x = 0; x < width; ++x) {
            const uint8_t b = ByteAt(mask, x, y);
            art += b == 255 ? '#' : b == 0 ? '.' : '?';
        }
    }
    return art;
}

void Drag(ViewHarness& harness, QPoint from, QPoint to,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* viewport = harness.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, modifiers, from);
    harness.moveMouse((from + to) / 2, Qt::LeftButton, modifiers);
    harness.moveMouse(to, Qt::LeftButton, modifiers);
    QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, to);
}

bool MaskIsClear(const CDibImage& mask) {
    return !MaskHasRegion(mask);
}

// A double-click as the window system delivers it: press and release, then a
// double-click event in place of the second press.
void DoubleClick(ViewHarness& harness, QPoint at,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(harness.viewport(), Qt::LeftButton, modifiers, at);
    QTest::mouseDClick(harness.viewport(), Qt::LeftButton, modifiers, at);
}

TEST(MarqueeTool, ADragInAnyDirectionSelectsTheSamePixelsReleasePixelIncluded) {
    ViewHarness harness(40, 30);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    ASSERT_NE(dynamic_cast<CMarqueeTool*>(view.tool()), nullptr);
    EXPECT_EQ(view.toolMode(), ToolMode::Marquee);
    EXPECT_TRUE(view.outlineTimerOn());

    Drag(harness, ClientPointOf(view, 3, 2), ClientPointOf(view, 8, 6));
    const std::string forward = MaskArt(harness.doc().mask());
    EXPECT_EQ(MaskPart(harness.doc().mask(), 10, 8), Art({
                                                         "..........",
                                                         "..........",
                                                         "...######.",
                                                         "...######.",
                                                         "...######.",
                                                         "...######.",
                                                         "...######.",
                                                         "..........",
                                                     }));
    ASSERT_TRUE(view.onCommand(kIdEditUndo));
    ASSERT_TRUE(MaskIsClear(harness.doc().mask()));

    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    Drag(harness, ClientPointOf(view, 8, 6), ClientPointOf(view, 3, 2));
    EXPECT_EQ(MaskArt(harness.doc().mask()), forward);
    ASSERT_TRUE(view.onCommand(kIdEditUndo));
    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    Drag(harness, ClientPointOf(view, 8, 2), ClientPointOf(view, 3, 6));
    EXPECT_EQ(MaskArt(harness.doc().mask()), forward);
}

TEST(MarqueeTool, AClickSelectsOnePixelAndEachReleaseIsOneMaskStep) {
    ViewHarness harness(20, 10);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                      ClientPointOf(view, 4, 3));
    EXPECT_EQ(MaskPart(doc.mask(), 6, 5), Art({"......", "......", "......", "....#.", "......"}));
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_EQ(view.selection().kind(), 1);
    EXPECT_FALSE(doc.IsModified()) << "a selection is no change of the picture";

    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                      ClientPointOf(view, 1, 1));
    view.onCommand(kIdEditUndo);
    EXPECT_EQ(MaskPart(doc.mask(), 6, 5), Art({"......", "......", "......", "....#.", "......"}));
    view.onCommand(kIdEditUndo);
    EXPECT_TRUE(MaskIsClear(doc.mask()));
}

TEST(MarqueeTool, CtrlWhileFinishingSubtracts) {
    ViewHarness harness(12, 8);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    Drag(harness, ClientPointOf(view, 1, 1), ClientPointOf(view, 6, 4));
    auto* marquee = dynamic_cast<CMarqueeTool*>(view.tool());
    ASSERT_NE(marquee, nullptr);

    QTest::keyPress(harness.viewport(), Qt::Key_Control);
    EXPECT_EQ(marquee->paintValue(), 0);
    EXPECT_TRUE(harness.showsCursor(CursorId::MarqueeSubtract));
    Drag(harness, ClientPointOf(view, 3, 2), ClientPointOf(view, 4, 3), Qt::ControlModifier);
    QTest::keyRelease(harness.viewport(), Qt::Key_Control);
    EXPECT_EQ(marquee->paintValue(), 255);
    EXPECT_TRUE(harness.showsCursor(CursorId::MarqueeAdd));
    EXPECT_EQ(MaskPart(doc.mask(), 8, 6), Art({
                                              "........",
                                              ".######.",
                                              ".##..##.",
                                              ".##..##.",
                                              ".######.",
                                              "........",
                                          }));
}

TEST(MarqueeTool, EllipseFillsTheMidpointEllipseOfTheDraggedRectangle) {
    ViewHarness harness(10, 6);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdEllipseMarqueeTool));
    Drag(harness, ClientPointOf(view, 7, 4), ClientPointOf(view, 1, 1));
    EXPECT_EQ(MaskArt(harness.doc().mask()), Art({
                                                 "..........",
                                                 "..#####...",
                                                 ".#######..",
                                                 ".#######..",
                                                 "..#####...",
                                                 "..........",
                                             }));
}

TEST(MarqueeTool, DraggingPastTheWindowEdgeScrollsTheView) {
    ViewHarness harness(900, 700);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    ASSERT_EQ(view.horizontalScrollBar()->value(), 0);
    const int clientWidth = harness.viewport()->width();
    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    // 30 pixels past the right edge: the view scrolls by 30.
    const QPoint beyond(clientWidth + 30, 10);
    harness.moveMouse(beyond, Qt::LeftButton);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 30);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::NoModifier, beyond);
    // The release pixel is taken after the scroll.
    const CDibImage mask = harness.doc().mask();
    EXPECT_EQ(ByteAt(mask, clientWidth + 60, 10), 255);
    EXPECT_EQ(ByteAt(mask, clientWidth + 61, 10), 0);
    EXPECT_EQ(ByteAt(mask, 10, 10), 255);
    EXPECT_EQ(ByteAt(mask, 9, 10), 0);
}

TEST(MarqueeTool, TheRubberRectangleIsDrawnWhileDragging) {
    ViewHarness harness(40, 30);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    const QImage before = harness.grab();
    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                      ClientPointOf(view, 5, 5));
    harness.moveMouse(ClientPointOf(view, 20, 15), Qt::LeftButton);
    const QImage dragging = harness.grab();
    // XOR with white inverts the pixels on the frame, and only there.
    EXPECT_EQ(dragging.pixel(ClientPointOf(view, 5, 10)),
              before.pixel(ClientPointOf(view, 5, 10)) ^ 0x00FFFFFFu);
    EXPECT_EQ(dragging.pixel(ClientPointOf(view, 12, 5)),
              before.pixel(ClientPointOf(view, 12, 5)) ^ 0x00FFFFFFu);
    EXPECT_EQ(dragging.pixel(ClientPointOf(view, 20, 10)),
              before.pixel(ClientPointOf(view, 20, 10)) ^ 0x00FFFFFFu);
    EXPECT_EQ(dragging.pixel(ClientPointOf(view, 12, 10)),
              before.pixel(ClientPointOf(view, 12, 10)));
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                        ClientPointOf(view, 20, 15));
}

TEST(LassoTool, APolygonOfClicksIsClosedByADoubleClick) {
    ViewHarness harness(12, 9);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    ASSERT_TRUE(view.onCommand(kIdLassoTool));
    EXPECT_EQ(view.toolMode(), ToolMode::Lasso);
    for (const QPoint p : {QPoint(1, 1), QPoint(8, 1), QPoint(8, 6)}) {
        QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                          ClientPointOf(view, p.x(), p.y()));
        harness.moveMouse(ClientPointOf(view, p.x(), p.y()) + QPoint(0, 1));
    }
    DoubleClick(harness, ClientPointOf(view, 1, 6));
    // Rows 1 to 5: the bottom row of the polygon is not filled.
    EXPECT_EQ(MaskArt(doc.mask()), Art({
                                       "............",
                                       ".########...",
                                       ".########...",
                                       ".########...",
                                       ".########...",
                                       ".########...",
                                       "............",
                                       "............",
                                       "............",
                                   }));
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());
    auto* lasso = dynamic_cast<CLassoTool*>(view.tool());
    ASSERT_NE(lasso, nullptr);
    EXPECT_TRUE(lasso->points().empty());
}

TEST(LassoTool, FreehandDragAndCtrlSubtracts) {
    ViewHarness harness(10, 8);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    FillMaskRect(doc.mask(), {0, 0, 9, 7}, 255);
    ASSERT_TRUE(view.onCommand(kIdLassoTool));
    QTest::keyPress(harness.viewport(), Qt::Key_Control);
    EXPECT_TRUE(harness.showsCursor(CursorId::LassoSubtract));
    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::ControlModifier,
                      ClientPointOf(view, 2, 2));
    harness.moveMouse(ClientPointOf(view, 6, 2), Qt::LeftButton, Qt::ControlModifier);
    harness.moveMouse(ClientPointOf(view, 6, 5), Qt::LeftButton, Qt::ControlModifier);
    harness.moveMouse(ClientPointOf(view, 2, 5), Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::ControlModifier,
                        ClientPointOf(view, 2, 5));
    DoubleClick(harness, ClientPointOf(view, 2, 5), Qt::ControlModifier);
    QTest::keyRelease(harness.viewport(), Qt::Key_Control);
    EXPECT_EQ(MaskArt(doc.mask()), Art({
                                       "##########",
                                       "##########",
                                       "##.....###",
                                       "##.....###",
                                       "##.....###",
                                       "##########",
                                       "##########",
                                       "##########",
                                   }));
    EXPECT_TRUE(harness.showsCursor(CursorId::Lasso));
}

TEST(LassoTool, OnePointFillsNothingAndLeavesNoStep) {
    ViewHarness harness(10, 8);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdLassoTool));
    DoubleClick(harness, ClientPointOf(view, 4, 4));
    EXPECT_TRUE(MaskIsClear(harness.doc().mask()));
    EXPECT_FALSE(harness.doc().CanUndo());
}

TEST(LassoTool, ClicksBesideTheImageAreIgnored) {
    ViewHarness harness(10, 8);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdLassoTool));
    const QRect image = view.displayedImageRect();
    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                      image.topLeft() - QPoint(5, 5));
    auto* lasso = dynamic_cast<CLassoTool*>(view.tool());
    ASSERT_NE(lasso, nullptr);
    EXPECT_TRUE(lasso->points().empty());
}

TEST(RoiCutTool, AClickTwoPixelsAwayRemovesAPieceJoinedOnlyDiagonally) {
    ViewHarness harness(12, 8);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    FillMaskRect(doc.mask(), {1, 1, 2, 2}, 255);
    FillMaskRect(doc.mask(), {3, 3, 4, 4}, 255); // touches the first at a corner
    FillMaskRect(doc.mask(), {8, 1, 9, 2}, 255); // a piece of its own
    ASSERT_TRUE(view.onCommand(kIdRoiCutTool));
    harness.moveMouse(ClientPointOf(view, 6, 6));
    EXPECT_TRUE(harness.showsCursor(CursorId::RoiCut));

    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                      ClientPointOf(view, 6, 6));
    EXPECT_EQ(MaskPart(doc.mask(), 12, 5), Art({
                                               "............",
                                               "........##..",
                                               "........##..",
                                               "............",
                                               "............",
                                           }));
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());

    // Three pixels away nothing is found.
    QTest::mouseClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                      ClientPointOf(view, 9, 5));
    EXPECT_TRUE(MaskHasRegion(doc.mask()));

    // Ending the tool saves the mask.
    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    EXPECT_TRUE(SamePixels(doc.savedMask(), doc.mask()));
}

} // namespace
} // namespace halvera::testing
