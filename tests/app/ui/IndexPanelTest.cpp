#include "ShellFixture.h"
#include "app/IndexPanelLayout.h"
#include "app/ui/IndexImagePanel.h"
#include "app/ui/IndexPanelClearance.h"
#include "view/CommandIds.h"

#include <QGuiApplication>
#include <QImage>
#include <QMdiArea>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

namespace halvera::testing {
namespace {

using namespace index_panel;

TEST(IndexPanelLayout, CellsAreFourThirdsOfTheHeightLessThirty) {
    EXPECT_EQ(CellWidth(140), 156);
    EXPECT_EQ(CellWidth(120), 130);
    EXPECT_EQ(CellWidth(0), 1);
    EXPECT_EQ(VisibleCells(4 * 156 + 155, 156), 4);
    EXPECT_EQ(VisibleCells(100, 156), 0);
}

TEST(IndexPanelLayout, SelectionScrollsJustEnoughToShowTheCell) {
    // Four cells visible, images 0..3 shown: the fifth image scrolls by one.
    EXPECT_EQ(FirstVisibleForSelection(4, 0, 4, 5), 1);
    // Visible already: no scrolling.
    EXPECT_EQ(FirstVisibleForSelection(2, 0, 4, 5), 0);
    // Before the first visible cell: it becomes the first.
    EXPECT_EQ(FirstVisibleForSelection(1, 3, 4, 8), 1);
    // Far to the right: the cell becomes the last visible one.
    EXPECT_EQ(FirstVisibleForSelection(9, 0, 4, 10), 6);
    // A panel too narrow for any cell still shows the selected one first.
    EXPECT_EQ(FirstVisibleForSelection(3, 0, 0, 5), 0);
}

TEST(IndexPanelLayout, ScrollPositionAndFirstCellFollowEachOther) {
    EXPECT_EQ(ScrollPositionForFirst(2, 5, 4), 2);
    EXPECT_EQ(FirstForScrollPosition(2, 5, 4), 2);
    EXPECT_EQ(ScrollPositionForFirst(3, 7, 100), 50);
    EXPECT_EQ(FirstForScrollPosition(50, 7, 100), 3);
    EXPECT_EQ(ScrollPositionForFirst(0, 1, 0), 0);
    EXPECT_EQ(FirstForScrollPosition(0, 1, 0), 0);
}

class IndexPanelTest : public ShellTest {
protected:
    CIndexImagePanel& panel() { return *frame().indexPanel(); }

    // Makes the panel exactly `cells` cells wide.
    void showCells(int cells) {
        panel().resize(panel().cellWidth() * cells + panel().cellWidth() / 2, panel().height());
        settle();
        ASSERT_EQ(panel().visibleCells(), cells);
    }

    bool isRedAt(QPoint point) {
        const QImage shot = panel().grab().toImage();
        const QColor colour = shot.pixelColor(point);
        return colour.red() > 150 && colour.green() < 60 && colour.blue() < 60;
    }
};

// The strip of cells is 120 pixels high; the scroll bar lies below it.
TEST_F(IndexPanelTest, IsHeldToItsSizeLimits) {
    const int height = CIndexImagePanel::kClientHeight + panel().scrollBar()->height();
    EXPECT_EQ(panel().height(), height);
    EXPECT_EQ(panel().cellRect(0).height(), 120);
    EXPECT_EQ(panel().cellWidth(), 130);
    EXPECT_EQ(panel().scrollBar()->geometry().top(), 120);
    EXPECT_EQ(panel().minimumWidth(), CIndexImagePanel::kMinWidth);
    panel().resize(50, 400);
    EXPECT_EQ(panel().size(), QSize(CIndexImagePanel::kMinWidth, height));
    EXPECT_EQ(panel().windowTitle(), QStringLiteral("Index image"));
}

// At its place along the bottom of the screen the panel covers the bottom of
// the image window area: the windows end above it, and take the room back
// when it is hidden.
TEST_F(IndexPanelTest, ImageWindowsEndAboveThePanel) {
    // The main window over the whole screen, as the program starts.
    frame().setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    CChildFrame* window = newImage(40, 30);
    QMdiArea* area = frame().mdiArea();
    const auto bottomOf = [](QWidget* widget) {
        return widget->mapToGlobal(QPoint(0, widget->height() - 1)).y();
    };
    ASSERT_TRUE(panel().isVisible());
    const int panelTop = panel().frameGeometry().top();
    ASSERT_GT(bottomOf(area), panelTop) << "the panel lies over the bottom of the area";
    EXPECT_LT(bottomOf(area->viewport()), panelTop);
    EXPECT_LT(bottomOf(window), panelTop);

    frame().router().dispatch(kIdViewIndexPanel);
    settle();
    ASSERT_FALSE(panel().isVisible());
    EXPECT_EQ(bottomOf(area->viewport()), bottomOf(area) - area->frameWidth());
}

TEST(IndexPanelClearance, CoversOnlyTheBottomStripThePanelLiesOver) {
    const QRect area(0, 100, 800, 500); // rows 100..599
    EXPECT_EQ(IndexPanelClearance::CoveredHeight(area, QRect(60, 500, 680, 136)), 100);
    EXPECT_EQ(IndexPanelClearance::CoveredHeight(area, QRect(60, 600, 680, 136)), 0);
    EXPECT_EQ(IndexPanelClearance::CoveredHeight(area, QRect(900, 500, 100, 136)), 0);
    EXPECT_EQ(IndexPanelClearance::CoveredHeight(area, QRect(60, 300, 680, 136)), 0)
        << "over the middle the panel is where the user put it";
    EXPECT_EQ(IndexPanelClearance::CoveredHeight(area, QRect(60, 350, 680, 136)), 250);
}

TEST_F(IndexPanelTest, EmptyPanelIgnoresClicks) {
    EXPECT_TRUE(panel().documents().empty());
    QTest::mouseClick(&panel(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(panel().activeIndex(), -1);
    EXPECT_EQ(frame().mdiArea()->activeSubWindow(), nullptr);
}

TEST_F(IndexPanelTest, ListsEveryImageAndFramesTheActiveOneInRed) {
    newImage(40, 30);
    CChildFrame* second = newImage(50, 20);
    showCells(4);
    ASSERT_EQ(panel().documents().size(), 2u);
    EXPECT_EQ(panel().documents()[1], &second->document());
    EXPECT_EQ(panel().activeIndex(), 1);
    // The red frame sits 10 pixels inside the active cell.
    const QRect active = panel().cellRect(1);
    EXPECT_TRUE(isRedAt(active.topLeft() + QPoint(10, 40)));
    EXPECT_FALSE(isRedAt(panel().cellRect(0).topLeft() + QPoint(10, 40)));
}

TEST_F(IndexPanelTest, ClickActivatesThatImageWindow) {
    CChildFrame* first = newImage();
    newImage();
    showCells(4);
    QTest::mouseClick(&panel(), Qt::LeftButton, {}, panel().cellRect(0).center());
    settle();
    EXPECT_EQ(frame().activeDocumentWindow(), first);
    EXPECT_EQ(panel().activeIndex(), 0);
    // Beside the last image nothing happens.
    QTest::mouseClick(&panel(), Qt::LeftButton, {}, panel().cellRect(3).center());
    settle();
    EXPECT_EQ(frame().activeDocumentWindow(), first);
}

TEST_F(IndexPanelTest, FifthImageScrollsIntoViewFramedInRed) {
    for (int i = 0; i < 4; ++i)
        newImage();
    showCells(4);
    EXPECT_EQ(panel().firstVisible(), 0);
    CChildFrame* fifth = newImage();
    EXPECT_EQ(panel().activeIndex(), 4);
    EXPECT_EQ(panel().firstVisible(), 1);
    EXPECT_EQ(panel().scrollBar()->value(), 1);
    // The fifth image is now the fourth visible cell.
    EXPECT_TRUE(isRedAt(panel().cellRect(3).topLeft() + QPoint(10, 40)));
    QTest::mouseClick(&panel(), Qt::LeftButton, {}, panel().cellRect(3).center());
    settle();
    EXPECT_EQ(frame().activeDocumentWindow(), fifth);

    // The scroll bar moves along the strip.
    panel().scrollBar()->setValue(0);
    EXPECT_EQ(panel().firstVisible(), 0);
    panel().scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(panel().firstVisible(), 1);
}

TEST_F(IndexPanelTest, ClosingAnImageRemovesItsCell) {
    CChildFrame* first = newImage();
    CChildFrame* second = newImage();
    first->close();
    settle();
    ASSERT_EQ(panel().documents().size(), 1u);
    EXPECT_EQ(panel().documents()[0], &second->document());
}

} // namespace
} // namespace halvera::testing
