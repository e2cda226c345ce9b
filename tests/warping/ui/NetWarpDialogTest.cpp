// The "Warping" dialog of net warping, driven by real mouse events.
#include "warping/ui/NetWarpDialog.h"

#include "ViewHarness.h"
#include "view/CommandIds.h"
#include "warping/ui/NetWarpPreview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
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

// Mouse input as the window system delivers it: to the top-level window
// under the pointer, where grabs, modality and popups decide which widget
// receives it (QTest on a widget would hand the event to the widget directly).
QPoint InWindow(QWidget* widget, QPoint local) {
    return widget->mapTo(widget->window(), local);
}

void WindowPress(QWidget* widget, QPoint local) {
    QTest::mousePress(widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      InWindow(widget, local));
}

void WindowMove(QWidget* widget, QPoint local) {
    QTest::mouseMove(widget->window()->windowHandle(), InWindow(widget, local));
}

void WindowRelease(QWidget* widget, QPoint local) {
    QTest::mouseRelease(widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                        InWindow(widget, local));
}

void WindowDrag(QWidget* widget, QPoint from, QPoint to) {
    WindowPress(widget, from);
    WindowMove(widget, (from + to) / 2);
    WindowMove(widget, to);
    WindowRelease(widget, to);
}

// The centre of a spin box's up or down arrow, as its style lays them out.
QPoint ArrowCentre(QSpinBox* box, QStyle::SubControl arrow) {
    QStyleOptionSpinBox option;
    option.initFrom(box);
    option.rect = box->rect();
    option.subControls = QStyle::SC_All;
    option.frame = true;
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    return box->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, box).center();
}

void ClickArrow(QSpinBox* box, QStyle::SubControl arrow) {
    const QPoint at = ArrowCentre(box, arrow);
    WindowPress(box, at);
    WindowRelease(box, at);
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

// What the net warping dialog did with input through the window system's
// mouse path: a node drag, then clicks on the width arrows (up, down) and the
// height arrow (up). Zero where the dialog never showed.
struct DialogProbe {
    bool nodeMoved = false;
    int widthAfterUp = 0;
    int widthAfterDown = 0;
    int heightAfterUp = 0;
};

// Opens the dialog from `view`, drives it as above and cancels it.
DialogProbe ProbeNetWarpDialog(CMavView& view) {
    DialogProbe probe;
    QTimer::singleShot(0, [&probe] {
        auto* dialog = dynamic_cast<CNetWarpDialog*>(QApplication::activeModalWidget());
        if (!dialog || !QTest::qWaitForWindowExposed(dialog))
            return;
        CNetWarpPreview* preview = dialog->preview();
        const QPoint node = ToQPoint(preview->grid().moved({2, 2}));
        WindowDrag(preview, node, node + QPoint(6, 4));
        probe.nodeMoved = ToQPoint(preview->grid().moved({2, 2})) == node + QPoint(6, 4);
        ClickArrow(dialog->widthBox(), QStyle::SC_SpinBoxUp);
        probe.widthAfterUp = dialog->widthBox()->value();
        ClickArrow(dialog->widthBox(), QStyle::SC_SpinBoxDown);
        probe.widthAfterDown = dialog->widthBox()->value();
        ClickArrow(dialog->heightBox(), QStyle::SC_SpinBoxUp);
        probe.heightAfterUp = dialog->heightBox()->value();
        dialog->reject();
    });
    EXPECT_TRUE(view.onCommand(kIdNetWarping));
    return probe;
}

// The dialog must take the mouse every time it opens, whatever the view did
// before: here a free-transform drag on the view (which takes the mouse while
// the button is down) comes before each opening. Node drags and arrow clicks
// go through the window system's path, where a grab left behind by the view
// would swallow them while the keyboard still worked.
TEST(NetWarpingCommand, TakesMouseDragsAndArrowClicksAtEveryOpening) {
    ViewHarness harness(420, 280);
    CMavView& view = harness.view();
    for (int opening = 0; opening < 4; ++opening) {
        ASSERT_TRUE(view.onCommand(kIdFreeTransform));
        const QPoint inside = ClientPointOf(view, 200, 140);
        WindowDrag(harness.viewport(), inside, inside + QPoint(3, 2));
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "after the drag on the view";

        const DialogProbe probe = ProbeNetWarpDialog(view);
        EXPECT_TRUE(probe.nodeMoved) << "opening " << opening;
        EXPECT_EQ(probe.widthAfterUp, 37) << "opening " << opening;
        EXPECT_EQ(probe.widthAfterDown, 36) << "opening " << opening;
        EXPECT_EQ(probe.heightAfterUp, 37) << "opening " << opening;
    }
}

// A tool ended in the middle of its drag (here by Undo from the keyboard,
// with the button still down) must not leave the view holding the mouse:
// the dialog opened next would get no mouse input while the keyboard works.
TEST(NetWarpingCommand, TakesTheMouseAfterAToolWasEndedMidDrag) {
    ViewHarness harness(420, 280);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdFreeTransform));
    const QPoint inside = ClientPointOf(view, 200, 140);
    WindowPress(harness.viewport(), inside);
    WindowMove(harness.viewport(), inside + QPoint(4, 0));
    ASSERT_EQ(QWidget::mouseGrabber(), harness.viewport()) << "the drag holds the mouse";
    ASSERT_TRUE(view.onCommand(kIdEditUndo));
    WindowRelease(harness.viewport(), inside + QPoint(4, 0));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

    const DialogProbe probe = ProbeNetWarpDialog(view);
    EXPECT_TRUE(probe.nodeMoved);
    EXPECT_EQ(probe.widthAfterUp, 37);
}

} // namespace
} // namespace halvera::testing
