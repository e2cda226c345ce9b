#pragma once

#include "app/ui/CommandRouter.h"
#include "view/ui/CommandMap.h"
#include "view/ui/FrameServices.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <memory>
#include <vector>

class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace halvera {

class CalibrationWatch;
class CChildFrame;
class CHalveraApp;
class CIndexImagePanel;
class CCalibrationBar;
class CDataPanel;
class CMavDoc;
class MeasureResultsPanel;
class CVideoCommands;
struct MenuItem;
struct ToolbarButton;
struct ToolbarResource;

// The main window, captioned "Halvera" (while an image window is maximized
// the caption adds its title): the image windows in a multiple-document area, two menu
// bars (one while no image is open, one while an image is), the seven
// toolbars, the status bar with four panes and the calibration in force, and
// the panels (tool box, calibration bar, data panel, index image panel).
//
// Commands go to the active view, its document, its image window, this
// window and then the application; the first that knows a command runs it.
class CMainFrame : public QMainWindow, public CommandTarget, public FrameServices {
    Q_OBJECT
public:
    static constexpr int kStatusPanes = 4;
    static constexpr int kFrameTimerPeriodMs = 1;

    explicit CMainFrame(CHalveraApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // ---- Image windows
    // Opens a window on `document` and makes it the active one.
    CChildFrame* addDocumentWindow(std::unique_ptr<CMavDoc> document);
    // The image windows in the order they were created.
    std::vector<CChildFrame*> documentWindows() const;
    CChildFrame* activeDocumentWindow() const;
    QMdiArea* mdiArea() const { return mdi_; }

    // ---- Commands
    const CommandRouter& router() const { return router_; }
    // The chain a command travels: view, document, image window, main window, application.
    std::vector<CommandTarget*> commandChain() const;
    bool onCommand(int id) override;
    bool onUpdateCommand(int id, CommandState& state) override;
    static const CommandMap<CMainFrame>& Commands();
    // Brings every toolbar button up to date with its command's state.
    void refreshToolbars();

    // ---- Bars and panels (for tests and later subsystems)
    bool hasImageMenu() const { return imageMenuShown_; }
    QToolBar* toolbar(const QString& caption) const;
    QDockWidget* toolBox() const { return toolBox_; }
    QDockWidget* calibrationBar() const { return calibrationBar_; }
    QDockWidget* dataPanel() const { return dataPanel_; }
    // The contents of the data panel: the measured results of the active image.
    CDataPanel* resultsPanel() const { return resultsPanel_; }
    CIndexImagePanel* indexPanel() const { return indexPanel_; }
    // The Video menu's commands and the video objects they own.
    CVideoCommands& video() const { return *video_; }
    QLabel* statusPane(int pane) const { return panes_.at(pane); }
    // The status bar's label of the calibration in force (CalibrationStatusText).
    QLabel* calibrationStatus() const { return calibrationPane_; }
    // The menu item of command `id` in the menu bar shown now, or null.
    QAction* menuAction(int id) const;

    // ---- FrameServices
    void setStatusPaneText(int pane, const QString& text) override;
    void refreshIndexPanel() override;
    void selectInIndexPanel(const CMavDoc* document) override;
    void repaintIndexPanel() override;
    void showCalibrationBar() override;
    void hideCalibrationBar() override;
    void showDataPanel() override;
    void hideDataPanel() override;
    void updateCalibrationRuler(PixelPoint origin, PixelPoint horizontalEnd,
                                PixelPoint verticalEnd) override;
    CCalibrationBar* calibrationControls() const { return calibrationControls_; }
    MeasureResultsPanel& measureResults() override { return *measureResults_; }
    std::vector<CMavDoc*> openDocuments() const override;
    // Makes `panel` the results panel of the measurement tools (not owned);
    // null puts back the data panel.
    void setMeasureResultsPanel(MeasureResultsPanel* panel);

signals:
    // Every tick of the 1 ms frame timer; capture and playback follow it.
    void frameTimerTick();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Files dragged from a file manager open as File, Open opens them.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createStatusBar();
    void showCalibrationInForce();
    void onCalibrationChanged();
    QToolBar* createToolbar(const ToolbarResource& resource);
    QDockWidget* createToolBox();
    QDockWidget* createFloatingPanel(const QString& title);
    void createIndexPanel();
    void createMenus();
    QMenu* buildMenu(const MenuItem& popup, std::vector<QAction*>& items);
    void createAccelerators();
    QAction* newCommandAction(int id, const QString& text);
    QAction* newButtonAction(const ToolbarButton& button);

    void onSubWindowActivated(QMdiSubWindow* window);
    void onDocumentWindowClosed();
    void updateMenuBar();
    void rebuildRecentFiles(QMenu* fileMenu);
    void rebuildWindowList();

    // Command handlers and updaters of the main window.
    void toggleBar(QWidget* bar);
    void toggleToolBox();
    void toggleDataPanel();
    void toggleIndexPanel();
    void showIndexPanel();
    static void updateBarCheck(QWidget* bar, CommandState& state);
    void tileWindows(Qt::Orientation orientation);
    void arrangeIcons();
    void maximizeActive();
    void activateListedWindow(int id);
    void updateWindowCommand(CommandState& state) const;
    void updateListedWindow(int id, CommandState& state) const;

    QPoint toolBoxHome() const;
    QRect areaAboveIndexPanel() const;

    CHalveraApp& app_;
    CommandRouter router_;
    ScopedFrameServices frameServices_;
    QMdiArea* mdi_;
    std::array<QLabel*, kStatusPanes> panes_{};
    QLabel* calibrationPane_ = nullptr;
    std::unique_ptr<CalibrationWatch> calibrationWatch_;
    std::vector<QToolBar*> toolbars_;
    QToolBar* mainTools_ = nullptr;
    QToolBar* warpingTools_ = nullptr;
    QToolBar* measurementTools_ = nullptr;
    QToolBar* videoTools_ = nullptr;
    QDockWidget* toolBox_ = nullptr;
    QDockWidget* calibrationBar_ = nullptr;
    CCalibrationBar* calibrationControls_ = nullptr;
    QDockWidget* dataPanel_ = nullptr;
    CDataPanel* resultsPanel_ = nullptr;
    MeasureResultsPanel* measureResults_ = nullptr;
    CIndexImagePanel* indexPanel_ = nullptr;
    QList<QAction*> buttonActions_;
    std::vector<QMenu*> noImageMenus_;
    std::vector<QMenu*> imageMenus_;
    std::vector<QAction*> noImageItems_;
    std::vector<QAction*> imageItems_;
    // The "Recent File" item of each File menu, which the entries replace.
    QList<QAction*> recentPlaceholders_;
    QMenu* windowMenu_ = nullptr;
    QList<QAction*> windowListActions_;
    bool imageMenuShown_ = false;
    QTimer frameTimer_;
    QTimer idleRefresh_;
    std::unique_ptr<CVideoCommands> video_;
};

} // namespace halvera
