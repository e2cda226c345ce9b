#include "app/ui/HalveraApp.h"

#include "acquire/ui/ScannerCommands.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/DocumentCommands.h"
#include "app/ui/MainFrame.h"
#include "app/ui/SettingsDialog.h"
#include "app/ui/ViewCommandTable.h"
#include "document/MavDoc.h"
#include "document/UndoMemoryBudget.h"
#include "document/UndoStepFile.h"
#include "image/PictureFiles.h"
#include "platform/UserPrompts.h"
#include "platform/ui/PrinterSetup.h"
#include "view/CommandIds.h"
#include "view/ui/SignSettingDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QSplashScreen>
#include <QStandardPaths>
#include <QThread>

namespace halvera {

namespace {

CHalveraApp* gInstance = nullptr;

constexpr int kSplashMs = 1000;

void ShowSplash() {
    QSplashScreen splash(QPixmap(QStringLiteral(":/splash.png")));
    splash.show();
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < kSplashMs) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    splash.close();
}

} // namespace

CHalveraApp::CHalveraApp(std::unique_ptr<SettingsStore> store)
    : store_(std::move(store)), recentFiles_(kRecentFileCount) {
    // The capture file goes to the desktop's own movies folder unless one was chosen.
    settings_.UseMoviesFolder(
        QStandardPaths::writableLocation(QStandardPaths::MoviesLocation).toStdString());
    settings_.Load(*store_);
    ApplyUndoMemory();
    // Undo steps a crashed run left in the cache folder can never be undone.
    RemoveStepFilesOfEndedPrograms(UndoBudget().cacheFolder());
    recentFiles_.load(*store_);
    InstallViewCommands();
    scanner_ = std::make_unique<CScannerCommands>(
        settings_, [this]() -> QWidget* { return mainFrame_.get(); },
        [this](PackedDib picture) { NewDocumentFromPicture(std::move(picture)); });
    gInstance = this;
}

CHalveraApp::~CHalveraApp() {
    // The windows go before the settings are written: closing an image may
    // still change them. The scan window goes with them, cancelling its scan;
    // then the scanner closes the device and the library.
    mainFrame_.reset();
    scanner_.reset();
    SaveSettings();
    if (gInstance == this)
        gInstance = nullptr;
}

CHalveraApp* CHalveraApp::Instance() {
    return gInstance;
}

CMainFrame& CHalveraApp::InitInstance(bool showSplash) {
    if (showSplash)
        ShowSplash();
    mainFrame_ = std::make_unique<CMainFrame>(*this);
    return *mainFrame_;
}

void CHalveraApp::ApplyUndoMemory() {
    UndoBudget().setLimitMegabytes(settings_.UndoMemory);
}

void CHalveraApp::SaveSettings() {
    settings_.Save(*store_);
    recentFiles_.save(*store_);
}

// ---------------------------------------------------------------- documents

CChildFrame* CHalveraApp::addWindow(std::unique_ptr<CMavDoc> document) {
    if (!mainFrame_)
        return nullptr;
    CChildFrame* window = mainFrame_->addDocumentWindow(std::move(document));
    QObject::connect(window, &CChildFrame::savedAs, window,
                     [this](const QString& path) { recentFiles_.add(path.toStdString()); });
    return window;
}

CChildFrame* CHalveraApp::OpenDocumentFile(const std::string& path) {
    if (!mainFrame_)
        return nullptr;
    for (CChildFrame* window : mainFrame_->documentWindows()) {
        if (window->document().path() == path) {
            mainFrame_->mdiArea()->setActiveSubWindow(window);
            recentFiles_.add(path);
            return window;
        }
    }
    PictureFromFile file = OpenPictureFile(path);
    if (!file.picture)
        return nullptr;
    auto document = std::make_unique<CMavDoc>(settings_);
    if (!document->OnOpenDocument(std::move(file.picture)))
        return nullptr;
    document->setPath(path);
    document->setTitle(FileTitle(path));
    recentFiles_.add(path);
    CChildFrame* window = addWindow(std::move(document));
    // The reader's remark (a 16-bit picture's stretch) is said once, in the
    // status bar's message pane, until the next prompt replaces it.
    if (window && !file.note.empty())
        mainFrame_->setStatusPaneText(0, QString::fromStdString(file.note));
    return window;
}

void CHalveraApp::OpenFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        OpenDocumentFile(path);
}

CChildFrame* CHalveraApp::NewDocumentFromPicture(PackedDib picture) {
    if (!picture || !mainFrame_)
        return nullptr;
    auto document = std::make_unique<CMavDoc>(settings_);
    if (!document->OnNewDocument(std::move(picture)))
        return nullptr;
    document->setTitle(NextUntitledTitle());
    return addWindow(std::move(document));
}

CChildFrame* CHalveraApp::NewBlankDocument() {
    if (!mainFrame_)
        return nullptr;
    auto document = std::make_unique<CMavDoc>(settings_);
    if (!document->OnNewDocument())
        return nullptr;
    document->setTitle(NextUntitledTitle());
    return addWindow(std::move(document));
}

int CHalveraApp::CountDocuments() const {
    return mainFrame_ ? static_cast<int>(mainFrame_->documentWindows().size()) : 0;
}

std::vector<CMavDoc*> CHalveraApp::ListDocuments() const {
    return mainFrame_ ? mainFrame_->openDocuments() : std::vector<CMavDoc*>{};
}

// ---------------------------------------------------------------- commands

const CommandMap<CHalveraApp>& CHalveraApp::Commands() {
    static const auto map =
        CommandMap<CHalveraApp>()
            .add(kIdFileNew, &CHalveraApp::onFileNew)
            .add(kIdFileOpen, &CHalveraApp::onFileOpen)
            .addRange(kIdFileMru1, kIdFileMru1 + kRecentFileCount - 1, &CHalveraApp::onRecentFile,
                      &CHalveraApp::onUpdateRecentFile)
            .add(
                kIdScanImage, [](CHalveraApp& app) { app.scanner_->scan(); },
                [](CHalveraApp& app, CommandState& state) {
                    state.enabled = app.scanner_->canScan();
                })
            .add(kIdSelectScanner, [](CHalveraApp& app) { app.scanner_->selectScanner(); })
            .add(kIdAppAbout, &CHalveraApp::onAbout)
            .add(kIdFilePrintSetup, &CHalveraApp::onPrintSetup)
            .add(kIdAppExit, &CHalveraApp::onExit)
            .add(kIdSignSetting,
                 [](CHalveraApp& app) {
                     RunSignSettingDialog(app.settings(), QApplication::activeWindow());
                 })
            .add(kIdProgramSettings, [](CHalveraApp& app) {
                if (RunSettingsDialog(app.settings(), QApplication::activeWindow()))
                    app.ApplyUndoMemory();
            });
    return map;
}

bool CHalveraApp::onCommand(int id) {
    return Commands().dispatch(*this, id);
}

bool CHalveraApp::onUpdateCommand(int id, CommandState& state) {
    return Commands().update(*this, id, state);
}

void CHalveraApp::onFileNew() {
    if (Prompts().askNewImageSize(settings_))
        NewBlankDocument();
}

void CHalveraApp::onFileOpen() {
    FileDialogRequest request;
    request.filter = CDocumentCommands::kFileFilter;
    request.fileMustExist = true;
    request.pathMustExist = true;
    if (const std::optional<std::string> path = Prompts().askFileName(request))
        OpenDocumentFile(*path);
}

void CHalveraApp::onRecentFile(int id) {
    const std::vector<std::string>& paths = recentFiles_.paths();
    const std::size_t index = static_cast<std::size_t>(id - kIdFileMru1);
    if (index >= paths.size())
        return;
    const std::string path = paths[index];
    // An entry that no longer opens leaves the list.
    if (!OpenDocumentFile(path))
        recentFiles_.remove(path);
}

void CHalveraApp::onUpdateRecentFile(int id, CommandState& state) {
    state.enabled = static_cast<std::size_t>(id - kIdFileMru1) < recentFiles_.paths().size();
}

void CHalveraApp::onAbout() {
    CAboutDialog dialog(mainFrame_.get());
    dialog.exec();
}

void CHalveraApp::onPrintSetup() {
    RunPrintSetupDialog(mainFrame_.get());
}

void CHalveraApp::onExit() {
    if (mainFrame_)
        mainFrame_->close();
}

} // namespace halvera
