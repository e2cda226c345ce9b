// The "Warping" dialog of net warping, driven by real mouse events.
#include "warping/NetWarpDialog.h"

#include "ViewHarness.h"
#include "app/CommandIds.h"
#include "warping/NetWarpPreview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

QPoint ToQPoint(PixelPoint p) {
    return QPoint(p.x, p.y);
}

// Drags a node of the preview from `from` to `to` with the left button.
void DragNode(QWidget* preview, QPoint from, QPoint to) {
    QTest::mousePress(preview, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), preview->mapToGlobal(QPointF(to)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(preview, &move);
    QTest::mouseRelease(preview, Qt::LeftButton, Qt::NoModifier, to);
}

QPoint ShownAt(ViewHarness& harness, int x, int y) {
    const Bgr c = PixelAt(harness.doc().image(), x, y);
    return CoordinateOf(qRgb(c.red, c.green, c.blue));
}

// An image as wide as the preview, so one preview pixel is one image pixel.
TEST(NetWarpDialog, DraggingANodeBendsTheFourCellsAroundIt) {
    ViewHarness harness(420, 280);
    harness.doc().CopyToWorking(); // as the command does before opening it
    int repaints = 0;
    CNetWarpDialog dialog(harness.doc(), [&] { ++repaints; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CNetWarpPreview* preview = dialog.preview();
    ASSERT_EQ(preview->grid().preview(), (PreviewRect{0, 10, 420, 280}));
    ASSERT_EQ(preview->grid().netWidth(), 36);

    const QPoint node = ToQPoint(preview->grid().moved({2, 2})); // (72, 82)
    DragNode(preview, node, node + QPoint(7, 0));
    EXPECT_EQ(ToQPoint(preview->grid().moved({2, 2})), node + QPoint(7, 0));
    EXPECT_EQ(repaints, 1);
    // The image pixel under the node now shows what lay 7 pixels to its left.
    EXPECT_EQ(ShownAt(harness, 72, 72), QPoint(65, 72));
    EXPECT_EQ(ShownAt(harness, 36, 72), QPoint(36, 72));   // a neighbouring node stays
    EXPECT_EQ(ShownAt(harness, 150, 72), QPoint(150, 72)); // beyond the four cells

    // A press beside every node grabs nothing; its release renders nothing.
    DragNode(preview, QPoint(90, 100), QPoint(95, 100));
    EXPECT_EQ(repaints, 1);
}

TEST(NetWarpDialog, NetSizesBelow12BuildTheGridWith12AndResetRestores) {
    ViewHarness harness(420, 280);
    harness.doc().CopyToWorking();
    CNetWarpDialog dialog(harness.doc(), [] {});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CNetWarpPreview* preview = dialog.preview();

    QSpinBox* width = dialog.widthBox();
    width->selectAll();
    QTest::keyClicks(width, "5");
    EXPECT_EQ(width->value(), 5);
    EXPECT_EQ(preview->grid().netWidth(), 12);
    EXPECT_EQ(preview->grid().columns(), 36); // 420 / 12 + 1 = 36
    width->stepBy(1);                         // arrows step within 12..100
    EXPECT_EQ(width->value(), 12);

    const QPoint node = ToQPoint(preview->grid().moved({3, 3}));
    DragNode(preview, node, node + QPoint(0, 5));
    EXPECT_NE(ShownAt(harness, node.x(), node.y() - 10), QPoint(node.x(), node.y() - 10));
    dialog.Restart();
    EXPECT_EQ(ShownAt(harness, node.x(), node.y() - 10), QPoint(node.x(), node.y() - 10));
    EXPECT_EQ(ToQPoint(preview->grid().moved({3, 3})), node);
}

TEST(NetWarpingCommand, CancelRestoresTheImageAndDropsTheStep) {
    ViewHarness harness(420, 280);
    CMavView& view = harness.view();
    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CNetWarpDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialogSeen = true;
        const QPoint node = ToQPoint(dialog->preview()->grid().moved({2, 2}));
        DragNode(dialog->preview(), node, node + QPoint(7, 0));
        dialogSeen = ShownAt(harness, 72, 72) == QPoint(65, 72);
        dialog->reject();
    });
    ASSERT_TRUE(view.onCommand(kIdNetWarping));
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(ShownAt(harness, 72, 72), QPoint(72, 72));
    EXPECT_FALSE(harness.doc().CanUndo());
}

TEST(NetWarpingCommand, OkKeepsTheImageAsOneUndoStep) {
    ViewHarness harness(420, 280);
    CMavView& view = harness.view();
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CNetWarpDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        const QPoint node = ToQPoint(dialog->preview()->grid().moved({2, 2}));
        DragNode(dialog->preview(), node, node + QPoint(7, 0));
        dialog->accept();
    });
    ASSERT_TRUE(view.onCommand(kIdNetWarping));
    EXPECT_EQ(ShownAt(harness, 72, 72), QPoint(65, 72));
    EXPECT_EQ(harness.doc().undoHistory().count(), 1);
    ASSERT_TRUE(view.onCommand(kIdEditUndo));
    EXPECT_EQ(ShownAt(harness, 72, 72), QPoint(72, 72));
}

} // namespace
} // namespace halvera::testing
