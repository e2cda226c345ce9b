#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "image/RegionOfInterest.h"
#include "view/ui/MavView.h"
#include "view/ui/PasteTool.h"

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace halvera::testing {
namespace {

Bgr ShortcutColour(int x, int y) {
    return Bgr{uint8_t(10 * x), uint8_t(10 * y), 77};
}

// The selection commands reached as a user reaches them: tool-box and main
// toolbar buttons clicked, accelerators typed on the main window.
class SelectionShortcutsTest : public ShellTest {
protected:
    CChildFrame* colouredImage(int width, int height) {
        CChildFrame* window = newImage(width, height);
        const CDibImage image = window->document().image();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetPixel(image, x, y, ShortcutColour(x, y));
        frame().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&frame()));
        return window;
    }

    void clickMainButton(const char* tip) {
        // As the idle refresh would have done before a user's click.
        frame().refreshToolbars();
        QToolBar* bar = frame().toolbar(QStringLiteral("Main tools"));
        ASSERT_NE(bar, nullptr);
        QAction* action = buttonAction(bar, tip);
        ASSERT_NE(action, nullptr) << tip;
        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
        settle();
    }

    void clickToolBox(const char* tip) {
        for (QToolButton* button : frame().toolBox()->findChildren<QToolButton*>()) {
            if (button->defaultAction()->toolTip() == QLatin1String(tip)) {
                QTest::mouseClick(button, Qt::LeftButton);
                settle();
                return;
            }
        }
        ADD_FAILURE() << "no tool-box button " << tip;
    }

    bool pasteButtonEnabled() {
        frame().refreshToolbars();
        return buttonAction(frame().toolbar(QStringLiteral("Main tools")), "Paste")->isEnabled();
    }

    void type(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(&frame(), key, modifiers);
        settle();
    }

    // Drags the marquee from image pixel `from` to image pixel `to`.
    static void drag(CMavView& view, QPoint from, QPoint to) {
        QWidget* viewport = view.viewport();
        const QPoint start = view.logicalToClient(view.imageToWindow(from));
        const QPoint end = view.logicalToClient(view.imageToWindow(to));
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(end), viewport->mapToGlobal(QPointF(end)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, end);
    }

private:
    static QAction* buttonAction(QToolBar* bar, const char* tip) {
        for (QAction* action : bar->actions())
            if (action->toolTip() == QLatin1String(tip))
                return action;
        return nullptr;
    }
};

TEST_F(SelectionShortcutsTest, CtrlCCtrlXAndCtrlVRoundTripASelection) {
    CChildFrame* window = colouredImage(24, 16);
    CMavView& view = window->view();
    CMavDoc& doc = window->document();
    clickToolBox("Rectangular marquee tool");
    drag(view, QPoint(9, 7), QPoint(4, 3));
    ASSERT_TRUE(MaskHasRegion(doc.mask()));
    EXPECT_FALSE(doc.IsModified());

    type(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(pasteButtonEnabled());
    type(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(PixelAt(doc.image(), 4, 3), kWhite);
    EXPECT_EQ(PixelAt(doc.image(), 9, 7), kWhite);
    EXPECT_EQ(PixelAt(doc.image(), 10, 7), ShortcutColour(10, 7));
    EXPECT_TRUE(doc.IsModified());

    // Paste lands at the selection's corner: the cut piece comes back.
    type(Qt::Key_V, Qt::ControlModifier);
    ASSERT_NE(dynamic_cast<CPasteTool*>(view.tool()), nullptr);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            EXPECT_EQ(PixelAt(doc.image(), x, y), ShortcutColour(x, y)) << x << "," << y;
}

TEST_F(SelectionShortcutsTest, CropButtonWhitensOutsideAndUndoBringsItBack) {
    CChildFrame* window = colouredImage(12, 10);
    CMavView& view = window->view();
    CMavDoc& doc = window->document();
    clickToolBox("Elliptical marquee tool");
    drag(view, QPoint(2, 2), QPoint(8, 6));
    clickMainButton("Crop");
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), kWhite);
    EXPECT_EQ(PixelAt(doc.image(), 5, 4), ShortcutColour(5, 4));
    EXPECT_TRUE(doc.IsModified());
    clickMainButton("Undo");
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), ShortcutColour(0, 0));
    EXPECT_TRUE(MaskHasRegion(doc.mask())) << "undoing the crop keeps the selection";
}

TEST_F(SelectionShortcutsTest, ThePasteButtonFollowsTheClipboard) {
    colouredImage(8, 8);
    QGuiApplication::clipboard()->setText(QStringLiteral("words, no picture"));
    EXPECT_FALSE(pasteButtonEnabled());
    type(Qt::Key_Insert, Qt::ControlModifier); // copies the whole image
    EXPECT_TRUE(pasteButtonEnabled());
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(pasteButtonEnabled());
}

} // namespace
} // namespace halvera::testing
