#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "app/ui/IndexImagePanel.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <functional>

namespace halvera::testing {
namespace {

QStringList MenuTitles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    return titles;
}

QMenu* MenuNamed(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

QStringList ItemTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

using MainFrameTest = ShellTest;

TEST_F(MainFrameTest, StartsWithNoImageAndTheNoImageMenu) {
    EXPECT_TRUE(frame().documentWindows().empty());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Halvera"));
    EXPECT_FALSE(frame().hasImageMenu());
    EXPECT_EQ(MenuTitles(frame().menuBar()), (QStringList{"&File", "Vi&deo", "&View", "&Help"}));
    EXPECT_EQ(ItemTexts(MenuNamed(frame().menuBar(), "&File")),
              (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "-", "Scan", "Select scanner", "-",
                           "P&rint setup...", "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(ItemTexts(MenuNamed(frame().menuBar(), "&View")),
              (QStringList{"Toolbar                (&A)", "Status Bar             (&B)", "-",
                           "Tool Box               (&C)", "-", "Warp toolbar           (&D)",
                           "Measurement toolbar    (&E)", "Measurement data panel (&F)",
                           "Video toolbar          (&G)", "Index image panel      (&H)"}));
    EXPECT_EQ(frame().statusPane(0)->text(), QStringLiteral("Ready"));
}

TEST_F(MainFrameTest, MenuBarSwitchesWithTheFirstAndLastImageWindow) {
    CChildFrame* first = newImage();
    EXPECT_TRUE(frame().hasImageMenu());
    EXPECT_EQ(MenuTitles(frame().menuBar()),
              (QStringList{"&File", "Vi&deo", "&Edit", "&Image", "W&arping", "&Measurement",
                           "&Setting", "&View", "&Window", "&Help"}));
    QMenu* image = MenuNamed(frame().menuBar(), "&Image");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->actions().at(3)->menu()->title(),
              QStringLiteral("Shade correction        (&C)"));
    EXPECT_EQ(ItemTexts(MenuNamed(frame().menuBar(), "&Window")).mid(0, 5),
              (QStringList{"Cascade     (&A)", "Tile Horz   (&B)", "Tile vert   (&C)",
                           "Maximize    (&D)", "Arrange     (&E)"}));

    CChildFrame* second = newImage();
    first->close();
    settle();
    EXPECT_TRUE(frame().hasImageMenu());
    second->close();
    settle();
    EXPECT_FALSE(frame().hasImageMenu());
    EXPECT_EQ(MenuTitles(frame().menuBar()).size(), 4);
}

TEST_F(MainFrameTest, MenuItemsOfCommandsNobodyHandlesAreVisibleAndDisabled) {
    newImage();
    std::function<void(QMenu*)> openAndCheck = [&](QMenu* menu) {
        emit menu->aboutToShow();
        for (QAction* action : menu->actions()) {
            if (action->menu()) {
                openAndCheck(action->menu());
                continue;
            }
            const int id = CommandRouter::boundId(action);
            if (id == 0 || !action->isVisible())
                continue;
            EXPECT_EQ(action->isEnabled(), frame().router().state(id).enabled)
                << action->text().toStdString();
        }
    };
    for (QAction* top : frame().menuBar()->actions())
        openAndCheck(top->menu());
    // Preview is always enabled; Pause preview only while a preview runs.
    QAction* preview = frame().menuAction(kIdPreview);
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->isEnabled());
    EXPECT_FALSE(frame().menuAction(kIdPausePreview)->isEnabled());
    // The commands of the shell itself are enabled.
    for (int id : {kIdFileNew, kIdFileOpen, kIdFileClose, kIdFileSave, kIdFileSaveAs, kIdAppAbout,
                   kIdAppExit, kIdWindowCascade})
        EXPECT_TRUE(frame().router().state(id).enabled) << id;
}

TEST_F(MainFrameTest, ToolbarsHoldTheirButtonsInOrderWithGaps) {
    QToolBar* warping = frame().toolbar(QStringLiteral("Warping tools"));
    ASSERT_NE(warping, nullptr);
    QStringList tips;
    for (QAction* action : warping->actions())
        tips << action->toolTip();
    EXPECT_EQ(tips, (QStringList{"Horizontal flip", "Vertical flip", "Zoom transform", "Rotate",
                                 "Free transform", "Net warping"}));

    QToolBar* preview = frame().toolbar(QStringLiteral("Preview tools"));
    ASSERT_NE(preview, nullptr);
    QStringList items;
    for (QAction* action : preview->actions())
        items << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
    EXPECT_EQ(items, (QStringList{"Preview", "Pause preview", "End preview", "|", "Snap"}));
    EXPECT_EQ(preview->actions().front()->statusTip(), QStringLiteral("Preview"));
    for (const char* caption : {"Main tools", "Measurement tools", "Play tools", "Video tools"})
        EXPECT_NE(frame().toolbar(QString::fromLatin1(caption)), nullptr) << caption;
}

TEST_F(MainFrameTest, TopDockAreaHasThreeRows) {
    auto rowOf = [this](const char* caption) {
        return frame().toolbar(QString::fromLatin1(caption))->geometry().top();
    };
    EXPECT_EQ(rowOf("Main tools"), rowOf("Warping tools"));
    EXPECT_LT(frame().toolbar("Main tools")->geometry().left(),
              frame().toolbar("Warping tools")->geometry().left());
    EXPECT_EQ(rowOf("Preview tools"), rowOf("Video tools"));
    EXPECT_EQ(rowOf("Video tools"), rowOf("Play tools"));
    EXPECT_LT(rowOf("Main tools"), rowOf("Preview tools"));
    EXPECT_LT(rowOf("Preview tools"), rowOf("Measurement tools"));
    for (const char* caption : {"Main tools", "Warping tools", "Preview tools", "Video tools",
                                "Play tools", "Measurement tools"})
        EXPECT_EQ(frame().toolBarArea(frame().toolbar(caption)), Qt::TopToolBarArea) << caption;
}

TEST_F(MainFrameTest, ToolBoxFloatsAtTheRightEdgeAndComesBackThere) {
    QDockWidget* tool = frame().toolBox();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint home(screen.width() - 120, screen.height() / 4);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_TRUE(tool->isFloating());
    EXPECT_EQ(tool->allowedAreas(), Qt::NoDockWidgetArea);
    EXPECT_EQ(tool->windowTitle(), QStringLiteral("Tool"));
    EXPECT_EQ(tool->pos(), home);

    frame().router().dispatch(kIdViewToolBox);
    EXPECT_FALSE(tool->isVisible());
    EXPECT_FALSE(frame().router().state(kIdViewToolBox).checked);
    tool->move(10, 10);
    frame().router().dispatch(kIdViewToolBox);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_TRUE(frame().router().state(kIdViewToolBox).checked);
    EXPECT_EQ(tool->pos(), home);
}

TEST_F(MainFrameTest, ViewTogglesShowAndHideTheirBarsWithCheckMarks) {
    newImage();
    struct Toggle {
        int id;
        QWidget* bar;
    };
    const Toggle toggles[] = {
        {kIdViewToolbar, frame().toolbar("Main tools")},
        {kIdViewStatusBar, frame().statusBar()},
        {kIdViewWarpingToolbar, frame().toolbar("Warping tools")},
        {kIdViewMeasurementToolbar, frame().toolbar("Measurement tools")},
        {kIdViewVideoToolbar, frame().toolbar("Video tools")},
        {kIdViewIndexPanel, frame().indexPanel()},
    };
    QMenu* view = MenuNamed(frame().menuBar(), "&View");
    for (const Toggle& toggle : toggles) {
        const bool before = toggle.bar->isVisible();
        frame().router().dispatch(toggle.id);
        EXPECT_NE(toggle.bar->isVisible(), before) << toggle.id;
        emit view->aboutToShow();
        EXPECT_EQ(frame().menuAction(toggle.id)->isChecked(), toggle.bar->isVisible()) << toggle.id;
        frame().router().dispatch(toggle.id);
        EXPECT_EQ(toggle.bar->isVisible(), before) << toggle.id;
    }
}

TEST_F(MainFrameTest, DataPanelAndCalibrationBarStartHiddenAndFloat) {
    for (QDockWidget* panel : {frame().dataPanel(), frame().calibrationBar()}) {
        EXPECT_FALSE(panel->isVisible());
        EXPECT_TRUE(panel->isFloating());
        EXPECT_EQ(panel->allowedAreas(), Qt::NoDockWidgetArea);
    }
    EXPECT_EQ(frame().dataPanel()->windowTitle(), QStringLiteral("Results"));
    EXPECT_EQ(frame().calibrationBar()->windowTitle(), QStringLiteral("Calibrate"));
    frame().router().dispatch(kIdViewDataPanel);
    EXPECT_TRUE(frame().dataPanel()->isVisible());
    // Bottom left, clear of the index strip along the bottom of the screen.
    EXPECT_EQ(frame().dataPanel()->pos().x(), 30);
    EXPECT_LE(frame().dataPanel()->frameGeometry().bottom(),
              frame().indexPanel()->frameGeometry().top());
    frame().showCalibrationBar();
    EXPECT_TRUE(frame().calibrationBar()->isVisible());
    frame().hideCalibrationBar();
    EXPECT_FALSE(frame().calibrationBar()->isVisible());
}

TEST_F(MainFrameTest, FloatingPanelsNeverDock) {
    frame().showDataPanel();
    frame().showCalibrationBar();
    for (QDockWidget* panel : {frame().toolBox(), frame().dataPanel(), frame().calibrationBar()}) {
        // A floatable panel docks from its title bar's float button or a
        // double-click on its title.
        EXPECT_FALSE(panel->features().testFlag(QDockWidget::DockWidgetFloatable))
            << panel->windowTitle().toStdString();
        EXPECT_TRUE(panel->isFloating()) << panel->windowTitle().toStdString();
        EXPECT_TRUE(panel->features().testFlag(QDockWidget::DockWidgetClosable));
    }
}

TEST_F(MainFrameTest, StatusBarHasFourPanesAndShowsPrompts) {
    const int quarter = QGuiApplication::primaryScreen()->geometry().width() / 4;
    for (int pane = 1; pane < CMainFrame::kStatusPanes; ++pane)
        EXPECT_GE(frame().statusPane(pane)->minimumWidth(), quarter);
    QStatusTipEvent tip(QStringLiteral("Create a new image"));
    QCoreApplication::sendEvent(&frame(), &tip);
    EXPECT_EQ(frame().statusPane(0)->text(), QStringLiteral("Create a new image"));
    QStatusTipEvent none{QString()};
    QCoreApplication::sendEvent(&frame(), &none);
    EXPECT_EQ(frame().statusPane(0)->text(), QStringLiteral("Ready"));
}

TEST_F(MainFrameTest, UndoAndRedoButtonsFollowTheHistory) {
    CChildFrame* window = newImage(32, 32);
    QToolBar* main = frame().toolbar("Main tools");
    auto button = [main](const char* tip) -> QAction* {
        for (QAction* action : main->actions()) {
            if (action->toolTip() == QLatin1String(tip))
                return action;
        }
        return nullptr;
    };
    frame().refreshToolbars();
    EXPECT_FALSE(button("Undo")->isEnabled());
    EXPECT_FALSE(button("Redo")->isEnabled());

    window->view().runImageCommand([](const CDibImage& image, const CDibImage&, const CDibImage&) {
        SetPixel(image, 1, 1, Bgr{0, 0, 0});
    });
    // The buttons catch up by themselves while the program is idle.
    EXPECT_TRUE(QTest::qWaitFor([&] { return button("Undo")->isEnabled(); }, 1000));
    EXPECT_FALSE(button("Redo")->isEnabled());

    QTest::mouseClick(main->widgetForAction(button("Undo")), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return button("Redo")->isEnabled(); }, 1000));
    EXPECT_FALSE(button("Undo")->isEnabled());
    EXPECT_EQ(PixelAt(window->document().image(), 1, 1), (Bgr{255, 255, 255}));
}

TEST_F(MainFrameTest, CtrlSSavesTheActiveImageThroughTheDocument) {
    newImage(16, 16);
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    const std::string path = tempPath("keyed.bmp");
    prompts.fileNames.push_back(path);
    QTest::keyClick(&frame(), Qt::Key_S, Qt::ControlModifier);
    settle();
    EXPECT_TRUE(std::filesystem::exists(path));
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_TRUE(prompts.fileRequests[0].save);
}

TEST_F(MainFrameTest, CtrlYIsNotBoundToRedo) {
    CChildFrame* window = newImage(16, 16);
    window->view().runImageCommand([](const CDibImage& image, const CDibImage&, const CDibImage&) {
        SetPixel(image, 0, 0, Bgr{1, 2, 3});
    });
    window->view().undo();
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_Y, Qt::ControlModifier);
    settle();
    EXPECT_TRUE(window->document().CanRedo());
    QTest::keyClick(&frame(), Qt::Key_Backspace, Qt::AltModifier);
    settle();
    EXPECT_TRUE(window->document().CanRedo());
    EXPECT_FALSE(window->document().CanUndo());
}

TEST_F(MainFrameTest, WindowMenuListsTheImagesAndActivatesThem) {
    CChildFrame* first = newImage();
    CChildFrame* second = newImage();
    EXPECT_EQ(frame().activeDocumentWindow(), second);
    QMenu* window = MenuNamed(frame().menuBar(), "&Window");
    emit window->aboutToShow();
    const QStringList items = ItemTexts(window);
    ASSERT_EQ(items.size(), 8);
    EXPECT_TRUE(items[6].startsWith("&1 HLV ")) << items[6].toStdString();
    EXPECT_TRUE(window->actions().at(7)->isChecked());
    window->actions().at(6)->trigger();
    settle();
    EXPECT_EQ(frame().activeDocumentWindow(), first);
    // The maximized image window's title joins the main window's caption.
    EXPECT_TRUE(frame().windowTitle().startsWith(QStringLiteral("Halvera")));
    EXPECT_TRUE(frame().windowTitle().contains(first->windowTitle()));
}

TEST_F(MainFrameTest, ImageWindowCaptionShowsTitleAndZoom) {
    CChildFrame* window = newImage(40, 30);
    const QString title = QString::fromStdString(window->document().title());
    EXPECT_EQ(window->windowTitle(), title + "[*] (100.0%)");
    window->view().zoomTo(window->view().zoomIndex() - 1, QPoint(5, 5));
    EXPECT_EQ(window->windowTitle(), title + "[*] (150.0%)");
    window->view().zoomTo(11, QPoint(5, 5));
    EXPECT_EQ(window->windowTitle(), title + "[*] (66.7%)");
    EXPECT_EQ(CChildFrame::Caption("cells.bmp", 1600.0), QStringLiteral("cells.bmp[*] (1600.0%)"));
}

TEST_F(MainFrameTest, FirstRestoreShowsAPictureThatFitsTheWindowAreaWhole) {
    frame().resize(1000, 750);
    settle();
    CChildFrame* window = newImage(320, 200);
    ASSERT_TRUE(window->isMaximized());
    window->showNormal();
    settle();
    EXPECT_EQ(window->view().viewport()->size(), QSize(320, 200));
}

TEST_F(MainFrameTest, RestoringAnImageWindowShrinksItToTheImage) {
    CChildFrame* window = newImage(40, 30);
    ASSERT_TRUE(window->isMaximized());
    window->showNormal();
    window->resize(400, 300);
    window->showMaximized();
    settle();
    window->showNormal();
    settle();
    EXPECT_EQ(window->view().viewport()->size(), QSize(40, 30));
}

} // namespace
} // namespace halvera::testing
