#include "view/ui/ZoomTool.h"

#include "ViewHarness.h"
#include "view/CommandIds.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

CZoomTool& StartZoomTool(CMavView& view) {
    EXPECT_TRUE(view.onCommand(kIdZoomTool));
    EXPECT_EQ(view.toolMode(), ToolMode::Viewing);
    EXPECT_TRUE(view.outlineTimerOn());
    auto* tool = dynamic_cast<CZoomTool*>(view.tool());
    if (tool == nullptr)
        throw std::runtime_error("the zoom command installed no zoom tool");
    return *tool;
}

QPoint ImageCentre(CMavView& view) {
    return view.displayedImageRect().center();
}

void Click(ViewHarness& harness, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(harness.viewport(), Qt::LeftButton, modifiers, at);
}

TEST(ZoomTool, ZoomsInOnReleaseNotOnPress) {
    ViewHarness harness(200, 150, QSize(500, 400));
    CMavView& view = harness.view();
    StartZoomTool(view);
    QSignalSpy caption(&view, &CMavView::zoomChanged);
    const QPoint centre = ImageCentre(view);

    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(view.zoomIndex(), kZoomIndex100);
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(view.zoomIndex(), kZoomIndex100 - 1);
    ASSERT_EQ(caption.count(), 1);
    EXPECT_DOUBLE_EQ(caption.takeFirst().at(0).toDouble(), 150.0);
    EXPECT_EQ(view.displayedImageRect().size(), QSize(300, 225));

    Click(harness, ImageCentre(view), Qt::ControlModifier);
    EXPECT_EQ(view.zoomIndex(), kZoomIndex100);
    ASSERT_EQ(caption.count(), 1);
    EXPECT_DOUBLE_EQ(caption.takeFirst().at(0).toDouble(), 100.0);
}

TEST(ZoomTool, AClickBesideTheImageDoesNothing) {
    ViewHarness harness(100, 80, QSize(400, 300));
    CMavView& view = harness.view();
    StartZoomTool(view);
    QSignalSpy caption(&view, &CMavView::zoomChanged);
    const QRect image = view.displayedImageRect();
    Click(harness, image.topLeft() - QPoint(3, 3));
    Click(harness, QPoint(image.right() + 1, image.center().y()));
    EXPECT_EQ(view.zoomIndex(), kZoomIndex100);
    EXPECT_EQ(caption.count(), 0);
}

TEST(ZoomTool, StepsThroughTheTableAndRefusesAtBothEnds) {
    ViewHarness harness(200, 150, QSize(400, 300));
    CMavView& view = harness.view();
    CZoomTool& tool = StartZoomTool(view);

    for (int expected = kZoomIndex100 - 1; expected >= 0; --expected) {
        Click(harness, ImageCentre(view));
        ASSERT_EQ(view.zoomIndex(), expected);
    }
    EXPECT_EQ(tool.limit(), CZoomTool::kLargestReached);
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomLimit));
    QSignalSpy caption(&view, &CMavView::zoomChanged);
    Click(harness, ImageCentre(view));
    EXPECT_EQ(view.zoomIndex(), 0); // 1600 % is the largest
    EXPECT_EQ(caption.count(), 0);
    EXPECT_EQ(tool.limit(), CZoomTool::kLargestReached);

    // Ctrl zooms out, all the way.
    Click(harness, ImageCentre(view), Qt::ControlModifier);
    EXPECT_EQ(view.zoomIndex(), 1);
    EXPECT_EQ(tool.limit(), CZoomTool::kNoLimit);
    for (int expected = 2; expected < kZoomCount; ++expected) {
        Click(harness, ImageCentre(view), Qt::ControlModifier);
        ASSERT_EQ(view.zoomIndex(), expected);
    }
    EXPECT_EQ(view.displayedImageRect().size(), QSize(2, 2)); // 1 % of 200 x 150
    EXPECT_EQ(tool.limit(), CZoomTool::kSmallestReached);
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomLimit));
    Click(harness, ImageCentre(view), Qt::ControlModifier);
    EXPECT_EQ(view.zoomIndex(), kZoomCount - 1);
    EXPECT_EQ(caption.count(), static_cast<int>(kZoomCount) - 1);
}

TEST(ZoomTool, RefusesAScaledSideBeyond32767AndSaysSoWithTheCursor) {
    ViewHarness harness(2048, 8, QSize(400, 300));
    CMavView& view = harness.view();
    CZoomTool& tool = StartZoomTool(view);
    for (int step = 0; step < kZoomIndex100; ++step)
        Click(harness, QPoint(view.displayedImageRect().left() + 5, ImageCentre(view).y()));
    EXPECT_EQ(view.zoomIndex(), 1); // 1200 %: 24576 pixels; 1600 % would be 32768
    EXPECT_EQ(tool.limit(), CZoomTool::kLargestReached);
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomLimit));
}

TEST(ZoomTool, RecentresOnTheClickedPoint) {
    ViewHarness harness(1000, 800, QSize(320, 240));
    CMavView& view = harness.view();
    StartZoomTool(view);
    view.scrollTo(QPoint(200, 150));
    const QPoint click(100, 60);
    const QPoint clicked = view.windowToImage(click);
    const QPoint middle(harness.viewport()->width() / 2, harness.viewport()->height() / 2);

    Click(harness, click); // 150 %
    EXPECT_LE((view.windowToImage(middle) - clicked).manhattanLength(), 2);
    Click(harness, middle); // 200 %, same point again
    EXPECT_LE((view.windowToImage(middle) - clicked).manhattanLength(), 2);
    Click(harness, middle, Qt::ControlModifier); // back to 150 %
    EXPECT_LE((view.windowToImage(middle) - clicked).manhattanLength(), 2);
}

TEST(ZoomTool, RecentresFromACentredImage) {
    ViewHarness harness(300, 200, QSize(400, 300));
    CMavView& view = harness.view();
    StartZoomTool(view);
    const QPoint clicked(160, 100);
    Click(harness, view.displayedImageRect().topLeft() + clicked);
    ASSERT_EQ(view.zoomIndex(), kZoomIndex100 - 1); // 450 x 300: larger than the window
    ASSERT_GT(view.placement().total.width, view.placement().client.width);
    ASSERT_GT(view.placement().total.height, view.placement().client.height);
    const QPoint middle(harness.viewport()->width() / 2, harness.viewport()->height() / 2);
    EXPECT_LE((view.windowToImage(middle) - clicked).manhattanLength(), 2);
}

TEST(ZoomTool, CursorFollowsPointerCtrlAndLimit) {
    ViewHarness harness(200, 150, QSize(400, 300));
    CMavView& view = harness.view();
    CZoomTool& tool = StartZoomTool(view);
    const QPoint over = ImageCentre(view);

    harness.moveMouse(over);
    EXPECT_TRUE(tool.inside());
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomIn));
    harness.moveMouse(over, Qt::NoButton, Qt::ControlModifier);
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomOut));

    // Pressing and releasing Ctrl while the pointer rests changes it at once.
    harness.moveMouse(over);
    QTest::keyPress(&view, Qt::Key_Control);
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomOut));
    QTest::keyRelease(&view, Qt::Key_Control);
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomIn));

    harness.moveMouse(view.displayedImageRect().topLeft() - QPoint(5, 5));
    EXPECT_FALSE(tool.inside());
    EXPECT_TRUE(harness.showsArrow());
    // Ctrl outside the image leaves the arrow alone.
    QTest::keyPress(&view, Qt::Key_Control);
    EXPECT_TRUE(harness.showsArrow());
    QTest::keyRelease(&view, Qt::Key_Control);
}

TEST(ZoomTool, AtTheLargestZoomCtrlStillOffersZoomingOut) {
    ViewHarness harness(40, 30, QSize(400, 300));
    CMavView& view = harness.view();
    CZoomTool& tool = StartZoomTool(view);
    for (int step = 0; step < kZoomIndex100; ++step)
        Click(harness, ImageCentre(view));
    ASSERT_EQ(tool.limit(), CZoomTool::kLargestReached);
    const QPoint over = ImageCentre(view);
    harness.moveMouse(over);
    QTest::keyPress(&view, Qt::Key_Control);
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomOut));
    QTest::keyRelease(&view, Qt::Key_Control);
    EXPECT_TRUE(harness.showsCursor(CursorId::ZoomLimit));
}

TEST(ZoomTool, ANewToolCommandEndsTheZoomTool) {
    ViewHarness harness(100, 100);
    CMavView& view = harness.view();
    StartZoomTool(view);
    EXPECT_TRUE(view.onCommand(kIdMagnifierTool));
    EXPECT_EQ(dynamic_cast<CZoomTool*>(view.tool()), nullptr);
    EXPECT_NE(view.tool(), nullptr);
    EXPECT_EQ(view.toolMode(), ToolMode::Viewing);
}

} // namespace
} // namespace halvera::testing
