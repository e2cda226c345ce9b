#include "view/ui/MagnifierTool.h"

#include "ViewHarness.h"
#include "view/CommandIds.h"

#include <QTest>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

void StartMagnifier(CMavView& view) {
    ASSERT_TRUE(view.onCommand(kIdMagnifierTool));
    ASSERT_NE(dynamic_cast<CMagnifierTool*>(view.tool()), nullptr);
    EXPECT_FALSE(view.outlineTimerOn());
    EXPECT_EQ(view.toolMode(), ToolMode::Viewing);
}

// Floor division: the glass pixel d away from the pointer shows d / 3 rounded down.
int ThirdRoundedDown(int d) {
    return d >= 0 ? d / 3 : -((-d + 2) / 3);
}

TEST(MagnifierTool, ShowsThreeTimesTheWindowInACircleAroundThePointer) {
    ViewHarness harness(120, 100, QSize(400, 300));
    CMavView& view = harness.view();
    StartMagnifier(view);
    const QPoint origin = view.displayedImageRect().topLeft();
    const QPoint under(30, 30);
    const QPoint pointer = origin + under;

    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::NoModifier, pointer);
    EXPECT_TRUE(harness.showsCursor(CursorId::Magnifier));
    const QImage shown = harness.grab();

    for (const QPoint d : {QPoint(0, 0), QPoint(3, 0), QPoint(-30, 9), QPoint(27, -42),
                           QPoint(-2, 61), QPoint(-89, 0)}) {
        const QPoint expected = under + QPoint(ThirdRoundedDown(d.x()), ThirdRoundedDown(d.y()));
        EXPECT_EQ(CoordinateOf(shown.pixel(pointer + d)), expected) << d.x() << "," << d.y();
    }
    // Inside the glass's square but outside its circle the window is not enlarged.
    const QPoint beside(75, 55);
    EXPECT_EQ(CoordinateOf(shown.pixel(pointer + beside)), under + beside);
    // Where there is no image the composition is grey, not the window's background.
    EXPECT_EQ(shown.pixel(2, 2), qRgb(128, 128, 128));
}

TEST(MagnifierTool, FollowsThePointerAndEndsOnDoubleClick) {
    ViewHarness harness(120, 100, QSize(400, 300));
    CMavView& view = harness.view();
    StartMagnifier(view);
    const QPoint origin = view.displayedImageRect().topLeft();

    harness.moveMouse(origin + QPoint(20, 30));
    EXPECT_EQ(CoordinateOf(harness.grab().pixel(origin + QPoint(20 + 6, 30))), QPoint(22, 30));

    QTest::mouseDClick(harness.viewport(), Qt::LeftButton, Qt::NoModifier, origin + QPoint(20, 30));
    EXPECT_EQ(view.tool(), nullptr);
    EXPECT_EQ(view.toolMode(), ToolMode::None);
    EXPECT_TRUE(harness.showsArrow());
    const QImage shown = harness.grab();
    EXPECT_EQ(CoordinateOf(shown.pixel(origin + QPoint(26, 30))), QPoint(26, 30));
    // The glass's grey is gone: around the image the window has its own background.
    const QRgb background = harness.viewport()->palette().color(QPalette::Dark).rgb();
    ASSERT_NE(background, qRgb(128, 128, 128));
    EXPECT_EQ(shown.pixel(origin - QPoint(5, 5)), background);
}

TEST(MagnifierTool, AnotherToolPutsTheGlassAway) {
    ViewHarness harness(120, 100, QSize(400, 300));
    CMavView& view = harness.view();
    StartMagnifier(view);
    const QPoint origin = view.displayedImageRect().topLeft();
    harness.moveMouse(origin + QPoint(20, 30));
    view.onCommand(kIdZoomTool);
    EXPECT_EQ(CoordinateOf(harness.grab().pixel(origin + QPoint(26, 30))), QPoint(26, 30));
}

} // namespace
} // namespace halvera::testing
