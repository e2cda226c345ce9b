#include "app/ui/MainFrame.h"

#include "acquire/ui/VideoCommands.h"
#include "app/CommandTable.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/DroppedFiles.h"
#include "app/ui/HalveraApp.h"
#include "app/ui/ImageWindowArea.h"
#include "app/ui/IndexImagePanel.h"
#include "app/ui/IndexPanelClearance.h"
#include "app/ui/MenuResources.h"
#include "app/ui/StatusTipForwarder.h"
#include "app/ui/ToolbarResources.h"
#include "document/MavDoc.h"
#include "document/UndoMemoryBudget.h"
#include "measure/CalFile.h"
#include "measure/CalibrationStatus.h"
#include "measure/CalibrationWatch.h"
#include "measure/ui/CalibrationBar.h"
#include "measure/ui/DataPanel.h"
#include "platform/ui/QtText.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace halvera {

namespace {

QRect ScreenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1280, 800);
}

// Where the index strip stands when shown: along the bottom of the screen.
QRect IndexPanelHome(const QRect& screen, int height) {
    return QRect(60, screen.height() - 200, screen.width() - 120, height);
}

struct Accelerator {
    QKeyCombination keys;
    int id;
};

// The keyboard accelerators. No key is bound to Redo.
const Accelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_N, kIdFileNew},         {Qt::CTRL | Qt::Key_O, kIdFileOpen},
    {Qt::CTRL | Qt::Key_S, kIdFileSave},        {Qt::CTRL | Qt::Key_P, kIdFilePrint},
    {Qt::CTRL | Qt::Key_Z, kIdEditUndo},        {Qt::ALT | Qt::Key_Backspace, kIdEditUndo},
    {Qt::CTRL | Qt::Key_X, kIdEditCut},         {Qt::SHIFT | Qt::Key_Delete, kIdEditCut},
    {Qt::CTRL | Qt::Key_C, kIdEditCopy},        {Qt::CTRL | Qt::Key_Insert, kIdEditCopy},
    {Qt::CTRL | Qt::Key_V, kIdEditPaste},       {Qt::SHIFT | Qt::Key_Insert, kIdEditPaste},
    {QKeyCombination(Qt::Key_F6), kIdNextPane}, {Qt::SHIFT | Qt::Key_F6, kIdPrevPane},
};

} // namespace

CMainFrame::CMainFrame(CHalveraApp& app, QWidget* parent)
    : QMainWindow(parent), app_(app), router_([this] { return commandChain(); }),
      frameServices_(*this), mdi_(new CImageWindowArea(this)) {
    setWindowTitle(QStringLiteral("Halvera"));
    setWindowIcon(QIcon(QStringLiteral(":/halvera-64.png")));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::onSubWindowActivated);
    setAcceptDrops(true);

    // The bars in the order the window has always created them; the top dock
    // area then holds three rows: Main and Warping; Preview, Video and Play;
    // Measurement.
    createStatusBar();
    // A step the undo budget had to drop is said where Save As says its copy.
    UndoBudget().setNotice([this](const std::string& notice) {
        setStatusPaneText(0, QString::fromStdString(notice));
    });
    mainTools_ = createToolbar(MainToolsBar());
    toolBox_ = createToolBox();
    calibrationBar_ = createFloatingPanel(QStringLiteral("Calibrate"));
    calibrationControls_ =
        new CCalibrationBar(app_.settings(), app_.settingsStore(), [this]() -> CMavView* {
            CChildFrame* window = activeDocumentWindow();
            return window ? &window->view() : nullptr;
        });
    calibrationBar_->setWidget(calibrationControls_);
    QToolBar* previewTools = createToolbar(PreviewToolsBar());
    videoTools_ = createToolbar(VideoToolsBar());
    QToolBar* playTools = createToolbar(PlayToolsBar());
    dataPanel_ = createFloatingPanel(QStringLiteral("Results"));
    resultsPanel_ =
        new CDataPanel(*dataPanel_, {[this]() -> CMavView* {
                                         CChildFrame* window = activeDocumentWindow();
                                         return window ? &window->view() : nullptr;
                                     },
                                     app_.settings(), app_.tolerance(), app_.outputSelection(),
                                     [this] {
                                         return areaAboveIndexPanel();
                                     }});
    measureResults_ = resultsPanel_;
    measurementTools_ = createToolbar(MeasurementToolsBar());
    warpingTools_ = createToolbar(WarpingToolsBar());
    for (QToolBar* row1 : {mainTools_, warpingTools_})
        addToolBar(Qt::TopToolBarArea, row1);
    addToolBarBreak(Qt::TopToolBarArea);
    for (QToolBar* row2 : {previewTools, videoTools_, playTools})
        addToolBar(Qt::TopToolBarArea, row2);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, measurementTools_);
    createIndexPanel();

    createMenus();
    createAccelerators();
    updateMenuBar();
    // Whatever changes the calibration in force, the status bar and the
    // results panel follow at once.
    calibrationWatch_ =
        std::make_unique<CalibrationWatch>(app_.settings(), [this] { onCalibrationChanged(); });

    video_ = std::make_unique<CVideoCommands>(app_.settings(), this, [this](PackedDib picture) {
        app_.NewDocumentFromPicture(std::move(picture));
    });
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &CMainFrame::frameTimerTick);
    connect(&frameTimer_, &QTimer::timeout, video_.get(), &CVideoCommands::onTick);
    frameTimer_.start(kFrameTimerPeriodMs);
    // Toolbar buttons follow their commands' state while the program is idle.
    connect(&idleRefresh_, &QTimer::timeout, this, &CMainFrame::refreshToolbars);
    idleRefresh_.start(100);
    refreshToolbars();
}

CMainFrame::~CMainFrame() {
    UndoBudget().setNotice(nullptr);
    calibrationWatch_.reset();
    frameTimer_.stop();
    idleRefresh_.stop();
    // A recording still running is finished, so its file is complete.
    video_.reset();
    // The image windows go first, while the panels they report to still exist.
    for (CChildFrame* window : documentWindows()) {
        window->disconnect(this);
        delete window;
    }
}

// ---------------------------------------------------------------- creation

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    const int quarter = ScreenRect().width() / 4;
    for (int pane = 0; pane < kStatusPanes; ++pane) {
        auto* label = new QLabel(pane == 0 ? QStringLiteral("Ready") : QStringLiteral(" "), bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (pane == 0) {
            bar->addWidget(label, 1);
        } else {
            label->setMinimumWidth(quarter);
            bar->addPermanentWidget(label);
        }
        panes_[pane] = label;
    }
    // The calibration in force, left of the other fixed panes, in a label of
    // its own that no message takes over.
    calibrationPane_ = new QLabel(bar);
    calibrationPane_->setObjectName(QStringLiteral("calibrationStatus"));
    calibrationPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->insertPermanentWidget(0, calibrationPane_);
    showCalibrationInForce();
}

void CMainFrame::showCalibrationInForce() {
    const RulerCalibration calibration(app_.settings());
    calibrationPane_->setText(
        QString::fromStdString(CalibrationStatusText(NamedCalibrationInForce(calibration))));
}

void CMainFrame::onCalibrationChanged() {
    showCalibrationInForce();
    // Every value the panel lists is in the calibrated unit.
    if (activeDocumentWindow())
        resultsPanel_->refill();
}

QAction* CMainFrame::newCommandAction(int id, const QString& text) {
    auto* action = new QAction(text, this);
    action->setStatusTip(ToQString(CommandPrompt(id)));
    router_.bind(action, id);
    return action;
}

// A toolbar or tool box button: icon, tooltip and a state the idle refresh keeps current.
QAction* CMainFrame::newButtonAction(const ToolbarButton& button) {
    const QString tooltip = ToQString(CommandTooltip(button.id));
    QAction* action = newCommandAction(button.id, tooltip);
    action->setIcon(QIcon(QStringLiteral(":/icons/") + ToQString(button.icon) + ".png"));
    action->setToolTip(tooltip);
    buttonActions_ << action;
    return action;
}

QToolBar* CMainFrame::createToolbar(const ToolbarResource& resource) {
    auto* bar = new QToolBar(ToQString(resource.caption), this);
    bar->setObjectName(ToQString(resource.caption));
    bar->setIconSize(QSize(16, 16));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const ToolbarButton& button : resource.buttons) {
        if (button.isGap()) {
            bar->addSeparator();
            continue;
        }
        bar->addAction(newButtonAction(button));
    }
    toolbars_.push_back(bar);
    return bar;
}

QDockWidget* CMainFrame::createToolBox() {
    // "Tool" floats by itself and never docks; its buttons wrap two per row.
    const ToolbarResource& resource = ToolBoxBar();
    auto* palette = new QWidget;
    auto* grid = new QGridLayout(palette);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    int index = 0;
    for (const ToolbarButton& button : resource.buttons) {
        auto* toolButton = new QToolButton(palette);
        toolButton->setDefaultAction(newButtonAction(button));
        toolButton->setAutoRaise(true);
        toolButton->setIconSize(QSize(16, 16));
        grid->addWidget(toolButton, index / 2, index % 2);
        ++index;
    }
    auto* dock = createFloatingPanel(ToQString(resource.caption));
    dock->setWidget(palette);
    new StatusTipForwarder(dock, this);
    dock->setFixedSize(dock->sizeHint());
    dock->move(toolBoxHome());
    dock->show();
    return dock;
}

QDockWidget* CMainFrame::createFloatingPanel(const QString& title) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(title);
    dock->setAllowedAreas(Qt::NoDockWidgetArea);
    dock->setWidget(new QWidget);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->setFloating(true);
    // Once floating it stays so: without the floatable feature neither the
    // title bar's float button nor a double-click on the title docks it.
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    dock->hide();
    return dock;
}

void CMainFrame::createIndexPanel() {
    indexPanel_ = new CIndexImagePanel(this);
    connect(indexPanel_, &CIndexImagePanel::documentActivated, this,
            [this](const CMavDoc* document) {
                for (CChildFrame* window : documentWindows()) {
                    if (&window->document() == document)
                        mdi_->setActiveSubWindow(window);
                }
            });
    // Image windows end above the panel wherever it covers the bottom of their area.
    new IndexPanelClearance(indexPanel_, static_cast<CImageWindowArea*>(mdi_));
    showIndexPanel();
}

QMenu* CMainFrame::buildMenu(const MenuItem& popup, std::vector<QAction*>& items) {
    auto* menu = new QMenu(ToQString(popup.text), this);
    for (const MenuItem& item : popup.children) {
        if (item.isSeparator())
            menu->addSeparator();
        else if (item.isPopup())
            menu->addMenu(buildMenu(item, items));
        else
            menu->addAction(items.emplace_back(newCommandAction(item.id, ToQString(item.text))));
        if (item.id == kIdFileMru1)
            recentPlaceholders_ << items.back();
    }
    return menu;
}

void CMainFrame::createMenus() {
    for (const MenuItem& popup : NoImageMenu())
        noImageMenus_.push_back(buildMenu(popup, noImageItems_));
    for (const MenuItem& popup : ImageMenu())
        imageMenus_.push_back(buildMenu(popup, imageItems_));
    for (QMenu* menu : noImageMenus_)
        router_.refreshOnShow(menu);
    for (QMenu* menu : imageMenus_)
        router_.refreshOnShow(menu);
    // The File menus list the recent files; the Window menu the open images.
    for (QMenu* file : {noImageMenus_.front(), imageMenus_.front()})
        connect(file, &QMenu::aboutToShow, this, [this, file] { rebuildRecentFiles(file); });
    windowMenu_ = imageMenus_.at(imageMenus_.size() - 2);
    connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::rebuildWindowList);
}

void CMainFrame::createAccelerators() {
    for (const Accelerator& accelerator : kAccelerators) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(accelerator.keys));
        action->setShortcutContext(Qt::WindowShortcut);
        router_.bind(action, accelerator.id);
        addAction(action);
    }
}

// ---------------------------------------------------------------- image windows

CChildFrame* CMainFrame::addDocumentWindow(std::unique_ptr<CMavDoc> document) {
    auto* window = new CChildFrame(std::move(document));
    mdi_->addSubWindow(window);
    connect(window, &QObject::destroyed, this, &CMainFrame::onDocumentWindowClosed);
    // The size the window comes back to when restored from maximized, before
    // it shrinks to its image: three quarters of the window area, so that a
    // picture that fits the area is shown whole.
    window->resize(mdi_->viewport()->size() * 3 / 4);
    window->showMaximized();
    mdi_->setActiveSubWindow(window);
    refreshIndexPanel();
    selectInIndexPanel(&window->document());
    updateMenuBar();
    return window;
}

std::vector<CChildFrame*> CMainFrame::documentWindows() const {
    std::vector<CChildFrame*> windows;
    for (QMdiSubWindow* window : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* child = qobject_cast<CChildFrame*>(window))
            windows.push_back(child);
    }
    return windows;
}

CChildFrame* CMainFrame::activeDocumentWindow() const {
    // The current window stays current while a floating palette (the tool
    // box) has the focus, so its buttons still reach the image's view.
    return qobject_cast<CChildFrame*>(mdi_->currentSubWindow());
}

void CMainFrame::onSubWindowActivated(QMdiSubWindow* window) {
    for (CChildFrame* child : documentWindows()) {
        if (child != window && child->view().isActive())
            child->view().setActive(false);
    }
    if (auto* child = qobject_cast<CChildFrame*>(window)) {
        child->view().setActive(true);
        resultsPanel_->refill();
    }
    refreshToolbars();
}

void CMainFrame::onDocumentWindowClosed() {
    // Called from the window's destructor: it is no longer in the list.
    if (documentWindows().empty())
        resultsPanel_->clearList();
    refreshIndexPanel();
    updateMenuBar();
    refreshToolbars();
}

void CMainFrame::updateMenuBar() {
    const bool imageOpen = !documentWindows().empty();
    if (imageOpen == imageMenuShown_ && !menuBar()->actions().isEmpty())
        return;
    imageMenuShown_ = imageOpen;
    menuBar()->clear();
    for (QMenu* menu : imageOpen ? imageMenus_ : noImageMenus_)
        menuBar()->addMenu(menu);
}

QAction* CMainFrame::menuAction(int id) const {
    for (QAction* action : imageMenuShown_ ? imageItems_ : noImageItems_) {
        if (CommandRouter::boundId(action) == id)
            return action;
    }
    return nullptr;
}

QToolBar* CMainFrame::toolbar(const QString& caption) const {
    for (QToolBar* bar : toolbars_) {
        if (bar->windowTitle() == caption)
            return bar;
    }
    return nullptr;
}

// ---------------------------------------------------------------- recent files and window list

void CMainFrame::rebuildRecentFiles(QMenu* fileMenu) {
    // The "Recent File" item stands for the list: replaced by the entries
    // when there are any, shown disabled when there are none.
    QAction* placeholder = nullptr;
    for (QAction* action : fileMenu->actions()) {
        const int id = CommandRouter::boundId(action);
        if (recentPlaceholders_.contains(action)) {
            placeholder = action;
        } else if (id >= kIdFileMru1 && id < kIdFileMru1 + kRecentFileCount) {
            fileMenu->removeAction(action);
            action->deleteLater();
        }
    }
    if (!placeholder)
        return;
    const std::vector<std::string>& paths = app_.recentFiles().paths();
    placeholder->setVisible(paths.empty());
    placeholder->setEnabled(false);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const int id = kIdFileMru1 + static_cast<int>(i);
        QString shown = QString::fromStdString(paths[i]);
        shown.replace(u'&', QStringLiteral("&&"));
        QAction* entry = newCommandAction(id, QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        fileMenu->insertAction(placeholder, entry);
    }
}

void CMainFrame::rebuildWindowList() {
    for (QAction* action : windowListActions_) {
        windowMenu_->removeAction(action);
        action->deleteLater();
    }
    windowListActions_.clear();
    const std::vector<CChildFrame*> windows = documentWindows();
    if (windows.empty())
        return;
    windowListActions_ << windowMenu_->addSeparator();
    const int shown = std::min<int>(static_cast<int>(windows.size()), kWindowListMax);
    for (int i = 0; i < shown; ++i) {
        QString caption = windows[i]->windowTitle();
        caption.replace(u'&', QStringLiteral("&&"));
        QAction* entry = newCommandAction(kIdWindowFirstChild + i,
                                          QStringLiteral("&%1 %2").arg(i + 1).arg(caption));
        windowMenu_->addAction(entry);
        router_.refresh(entry);
        windowListActions_ << entry;
    }
}

// ---------------------------------------------------------------- commands

std::vector<CommandTarget*> CMainFrame::commandChain() const {
    std::vector<CommandTarget*> chain;
    if (CChildFrame* child = activeDocumentWindow()) {
        chain.push_back(&child->view());
        chain.push_back(&child->documentCommands());
        chain.push_back(child);
    }
    chain.push_back(const_cast<CMainFrame*>(this));
    if (video_)
        chain.push_back(video_.get());
    chain.push_back(&app_);
    return chain;
}

const CommandMap<CMainFrame>& CMainFrame::Commands() {
    static const auto map =
        CommandMap<CMainFrame>()
            .add(
                kIdViewToolbar, [](CMainFrame& self) { self.toggleBar(self.mainTools_); },
                [](CMainFrame& self, CommandState& state) {
                    updateBarCheck(self.mainTools_, state);
                })
            .add(
                kIdViewStatusBar, [](CMainFrame& self) { self.toggleBar(self.statusBar()); },
                [](CMainFrame& self, CommandState& state) {
                    updateBarCheck(self.statusBar(), state);
                })
            .add(
                kIdViewToolBox, &CMainFrame::toggleToolBox,
                [](CMainFrame& self, CommandState& state) { updateBarCheck(self.toolBox_, state); })
            .add(
                kIdViewWarpingToolbar, [](CMainFrame& self) { self.toggleBar(self.warpingTools_); },
                [](CMainFrame& self, CommandState& state) {
                    updateBarCheck(self.warpingTools_, state);
                })
            .add(
                kIdViewMeasurementToolbar,
                [](CMainFrame& self) { self.toggleBar(self.measurementTools_); },
                [](CMainFrame& self, CommandState& state) {
                    updateBarCheck(self.measurementTools_, state);
                })
            .add(kIdViewDataPanel, &CMainFrame::toggleDataPanel,
                 [](CMainFrame& self, CommandState& state) {
                     updateBarCheck(self.dataPanel_, state);
                 })
            .add(
                kIdViewVideoToolbar, [](CMainFrame& self) { self.toggleBar(self.videoTools_); },
                [](CMainFrame& self, CommandState& state) {
                    updateBarCheck(self.videoTools_, state);
                })
            .add(kIdViewIndexPanel, &CMainFrame::toggleIndexPanel,
                 [](CMainFrame& self, CommandState& state) {
                     updateBarCheck(self.indexPanel_, state);
                 })
            .add(
                kIdWindowCascade, [](CMainFrame& self) { self.mdi_->cascadeSubWindows(); },
                &CMainFrame::updateWindowCommand)
            .add(
                kIdWindowTileHorz, [](CMainFrame& self) { self.tileWindows(Qt::Horizontal); },
                &CMainFrame::updateWindowCommand)
            .add(
                kIdWindowTileVert, [](CMainFrame& self) { self.tileWindows(Qt::Vertical); },
                &CMainFrame::updateWindowCommand)
            .add(kIdWindowArrange, &CMainFrame::arrangeIcons, &CMainFrame::updateWindowCommand)
            .add(kIdWindowMaximize, &CMainFrame::maximizeActive, &CMainFrame::updateWindowCommand)
            .add(
                kIdNextPane, [](CMainFrame& self) { self.mdi_->activateNextSubWindow(); },
                &CMainFrame::updateWindowCommand)
            .add(
                kIdPrevPane, [](CMainFrame& self) { self.mdi_->activatePreviousSubWindow(); },
                &CMainFrame::updateWindowCommand)
            .addRange(kIdWindowFirstChild, kIdWindowFirstChild + kWindowListMax - 1,
                      &CMainFrame::activateListedWindow, &CMainFrame::updateListedWindow);
    return map;
}

bool CMainFrame::onCommand(int id) {
    return Commands().dispatch(*this, id);
}

bool CMainFrame::onUpdateCommand(int id, CommandState& state) {
    return Commands().update(*this, id, state);
}

void CMainFrame::refreshToolbars() {
    router_.refresh(buttonActions_);
}

void CMainFrame::toggleBar(QWidget* bar) {
    bar->setVisible(!bar->isVisible());
}

void CMainFrame::updateBarCheck(QWidget* bar, CommandState& state) {
    state.checked = bar->isVisible();
}

QPoint CMainFrame::toolBoxHome() const {
    const QRect screen = ScreenRect();
    return QPoint(screen.width() - 120, screen.height() / 4);
}

void CMainFrame::toggleToolBox() {
    if (toolBox_->isVisible()) {
        toolBox_->hide();
        return;
    }
    toolBox_->setFloating(true);
    toolBox_->move(toolBoxHome());
    toolBox_->show();
}

void CMainFrame::toggleDataPanel() {
    if (dataPanel_->isVisible())
        hideDataPanel();
    else
        showDataPanel();
}

void CMainFrame::toggleIndexPanel() {
    if (indexPanel_->isVisible())
        indexPanel_->hide();
    else
        showIndexPanel();
}

// The screen above the index strip's place, where a panel opening near the
// bottom leaves the strip uncovered.
QRect CMainFrame::areaAboveIndexPanel() const {
    const QRect screen = ScreenRect();
    const int stripTop = indexPanel_->isVisible() ? indexPanel_->frameGeometry().top()
                                                  : IndexPanelHome(screen, 0).top();
    return QRect(screen.left(), screen.top(), screen.width(), stripTop - screen.top());
}

// The panel comes back along the bottom of the screen whenever it is shown.
void CMainFrame::showIndexPanel() {
    indexPanel_->setGeometry(IndexPanelHome(ScreenRect(), indexPanel_->height()));
    indexPanel_->show();
}

void CMainFrame::tileWindows(Qt::Orientation orientation) {
    // Horizontal tiles are full-width strips one below the other; vertical
    // tiles stand side by side.
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            windows.push_back(window);
    }
    if (windows.empty())
        return;
    const QRect area = mdi_->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        windows[i]->showNormal();
        if (orientation == Qt::Horizontal) {
            const int top = area.height() * i / count;
            windows[i]->setGeometry(0, top, area.width(), area.height() * (i + 1) / count - top);
        } else {
            const int left = area.width() * i / count;
            windows[i]->setGeometry(left, 0, area.width() * (i + 1) / count - left, area.height());
        }
    }
}

void CMainFrame::arrangeIcons() {
    // Minimized windows line up along the bottom edge of the area.
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* window : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > area.width())
            x = 0;
        window->move(x, area.height() - size.height());
        x += size.width();
    }
}

void CMainFrame::maximizeActive() {
    if (QMdiSubWindow* window = mdi_->currentSubWindow())
        window->showMaximized();
}

void CMainFrame::updateWindowCommand(CommandState& state) const {
    state.enabled = !mdi_->subWindowList().isEmpty();
}

void CMainFrame::activateListedWindow(int id) {
    const std::vector<CChildFrame*> windows = documentWindows();
    const std::size_t index = static_cast<std::size_t>(id - kIdWindowFirstChild);
    if (index < windows.size())
        mdi_->setActiveSubWindow(windows[index]);
}

void CMainFrame::updateListedWindow(int id, CommandState& state) const {
    const std::vector<CChildFrame*> windows = documentWindows();
    const std::size_t index = static_cast<std::size_t>(id - kIdWindowFirstChild);
    state.enabled = index < windows.size();
    state.checked = state.enabled && windows[index] == mdi_->currentSubWindow();
}

// ---------------------------------------------------------------- frame services

void CMainFrame::setStatusPaneText(int pane, const QString& text) {
    if (pane < 0 || pane >= kStatusPanes)
        return;
    panes_[pane]->setText(text);
    panes_[pane]->repaint();
}

void CMainFrame::refreshIndexPanel() {
    std::vector<const CMavDoc*> documents;
    for (CChildFrame* window : documentWindows())
        documents.push_back(&window->document());
    indexPanel_->setDocuments(std::move(documents));
}

void CMainFrame::selectInIndexPanel(const CMavDoc* document) {
    indexPanel_->selectDocument(document);
}

void CMainFrame::repaintIndexPanel() {
    indexPanel_->update();
}

std::vector<CMavDoc*> CMainFrame::openDocuments() const {
    std::vector<CMavDoc*> documents;
    for (CChildFrame* window : documentWindows())
        documents.push_back(&window->document());
    return documents;
}

void CMainFrame::showCalibrationBar() {
    if (calibrationBar_->isVisible())
        return;
    const QRect screen = ScreenRect();
    calibrationBar_->move(screen.width() / 4, screen.height() * 3 / 4);
    calibrationBar_->show();
}

void CMainFrame::hideCalibrationBar() {
    calibrationBar_->hide();
}

void CMainFrame::showDataPanel() {
    resultsPanel_->ShowDataPanel();
}

void CMainFrame::hideDataPanel() {
    resultsPanel_->HideDataPanel();
}

void CMainFrame::updateCalibrationRuler(PixelPoint origin, PixelPoint horizontalEnd,
                                        PixelPoint verticalEnd) {
    calibrationControls_->UpdateFromRuler(origin, horizontalEnd, verticalEnd);
}

void CMainFrame::setMeasureResultsPanel(MeasureResultsPanel* panel) {
    measureResults_ = panel ? panel : resultsPanel_;
}

// ---------------------------------------------------------------- events

bool CMainFrame::event(QEvent* event) {
    // Pane 0 shows the prompt of the item under the pointer, else "Ready".
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        panes_[0]->setText(tip.isEmpty() ? QStringLiteral("Ready") : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = DroppedFiles(event->mimeData());
    if (files.empty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has ended: a message box inside the drop would
    // keep the file manager waiting for it.
    QTimer::singleShot(0, this, [this, files] { app_.OpenFiles(files); });
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Every modified image and every image's unwritten measurements are asked
    // about, in order; one Cancel (or a save that did not happen) keeps
    // everything open.
    for (CChildFrame* window : documentWindows()) {
        if (!window->documentCommands().CanClose()) {
            event->ignore();
            return;
        }
    }
    video_->closeAll();
    setStatusPaneText(1, QStringLiteral(" "));
    frameTimer_.stop();
    toolBox_->hide();
    calibrationBar_->hide();
    dataPanel_->hide();
    indexPanel_->hide();
    event->accept();
}

} // namespace halvera
