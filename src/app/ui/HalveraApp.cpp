#include "app/ui/HalveraApp.h"

#include "acquire/ui/ScannerCommands.h"
#include "app/AutosaveInterval.h"
#include "app/RecoveryCopyFile.h"
#include "app/RecoverySession.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/AutosaveService.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/DocumentCommands.h"
#include "app/ui/MainFrame.h"
#include "app/ui/SettingsDialog.h"
#include "app/ui/ViewCommandTable.h"
#include "document/MavDoc.h"
#include "document/UndoMemoryBudget.h"
#include "document/UndoStepFile.h"
#include "image/PictureFiles.h"
#include "measure/CalFile.h"
#include "measure/CalibrationStatus.h"
#include "measure/MeasurementFiles.h"
#include "measure/RulerCalibration.h"
#include "measure/ui/DataPanel.h"
#include "platform/UserPrompts.h"
#include "platform/ui/PrinterSetup.h"
#include "view/CommandIds.h"
#include "view/PackImage.h"
#include "view/ui/SignSettingDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QSplashScreen>
#include <QStandardPaths>
#include <QThread>
#include <filesystem>

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
    // then the scanner closes the device and the library. The closed windows'
    // recovery copies are removed before autosave ends its session: a clean
    // exit leaves nothing to recover.
    mainFrame_.reset();
    scanner_.reset();
    autosave_.reset();
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

void CHalveraApp::ApplyAutosaveInterval() {
    if (autosave_)
        autosave_->setInterval(AutosaveInterval(settings_.AutosaveMinutes, nullptr));
}

void CHalveraApp::ApplyUndoMemory() {
    UndoBudget().setLimitMegabytes(settings_.UndoMemory);
}

void CHalveraApp::SaveSettings() {
    settings_.Save(*store_);
    recentFiles_.save(*store_);
}

// ---------------------------------------------------------------- documents

CChildFrame* CHalveraApp::addWindow(std::unique_ptr<CMavDoc> document,
                                    const std::string& adoptedCopy) {
    if (!mainFrame_)
        return nullptr;
    CChildFrame* window = mainFrame_->addDocumentWindow(std::move(document));
    QObject::connect(window, &CChildFrame::savedAs, window,
                     [this](const QString& path) { recentFiles_.add(path.toStdString()); });
    if (autosave_ && adoptedCopy.empty())
        autosave_->watch(window);
    else if (autosave_)
        autosave_->adopt(window, adoptedCopy);
    return window;
}

namespace {

// What the status bar says after a picture was opened, joined by "; ". The
// document's own calibration is the measurement file's when one was
// restored, else the picture file's.
std::string OpeningNotices(const std::string& readerNote,
                           const MeasurementFileOutcome& measurements, const CMavDoc& document) {
    RulerCalibration calibration(document.settings());
    const bool restored = measurements.ok && !measurements.notice.empty();
    std::string notices;
    for (const std::string& notice :
         {readerNote, measurements.notice,
          OwnCalibrationNotice(document.ownCalibration(), NamedCalibrationInForce(calibration),
                               restored ? CalibrationSource::Measurements
                                        : CalibrationSource::Picture)}) {
        if (!notice.empty())
            notices += (notices.empty() ? "" : "; ") + notice;
    }
    return notices;
}

} // namespace

// ---------------------------------------------------------------- recovery

namespace {

std::time_t CopyTime(const std::string& file) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(file, error);
    if (error)
        return 0;
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
}

void UseCalibration(AppSettings& settings, const RecoveryCalibration& calibration) {
    RulerCalibration ruler(settings);
    ruler.Store({calibration.unit, calibration.realX, calibration.realY, calibration.pixelX,
                 calibration.pixelY});
}

} // namespace

void CHalveraApp::StartAutosave(const std::string& folder, std::chrono::milliseconds interval) {
    autosave_ = std::make_unique<CAutosaveService>(folder, interval);
    for (CChildFrame* window :
         mainFrame_ ? mainFrame_->documentWindows() : std::vector<CChildFrame*>{})
        autosave_->watch(window);
}

void CHalveraApp::OfferRecovery() {
    if (!autosave_)
        return;
    const std::string& folder = autosave_->folder();
    std::vector<std::string> files;
    std::vector<RecoveryOffer> offers;
    for (const std::string& file : AbandonedCopies(folder)) {
        // A file that is no whole copy is not offered; it stays for inspection.
        if (const std::optional<RecoveryCopyHeader> header = ReadRecoveryCopyHeader(file)) {
            files.push_back(file);
            offers.push_back({header->title, header->width, header->height, CopyTime(file)});
        }
    }
    RemoveEndedSessions(folder);
    if (offers.empty())
        return;
    const std::vector<RecoveryChoice> choices = Prompts().askRecovery(offers);
    for (size_t i = 0; i < files.size() && i < choices.size(); ++i) {
        if (choices[i] == RecoveryChoice::Recover) {
            RecoverDocument(files[i]);
        } else if (choices[i] == RecoveryChoice::Discard) {
            std::error_code error;
            std::filesystem::remove(files[i], error);
        }
    }
}

CChildFrame* CHalveraApp::RecoverDocument(const std::string& copyFile) {
    std::optional<RecoverySnapshot> copy = ReadRecoveryCopy(copyFile);
    if (!copy) {
        ShowMessage("Can not read the recovery copy " + copyFile, MessageIcon::Stop);
        return nullptr;
    }
    auto document = std::make_unique<CMavDoc>(settings_);
    if (!document->OnOpenDocument(PackImage(copy->image.dib())))
        return nullptr;
    CopyBlock(document->mask(), copy->mask.dib());
    document->measureData() = copy->measurements;
    UseCalibration(settings_, copy->calibration);
    document->setPath(copy->path);
    document->setTitle(copy->path.empty() ? NextUntitledTitle() : FileTitle(copy->path));
    // The picture is in no file yet.
    document->SetModifiedFlag(true);
    return addWindow(std::move(document), copyFile);
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
    if (file.calibration)
        document->setOwnCalibration(NamedCalibration{*file.calibration, {}});
    const MeasurementFileOutcome measurements = RestoreMeasurementsBeside(*document);
    const std::string notices = OpeningNotices(file.note, measurements, *document);
    const bool restored = measurements.ok && !measurements.notice.empty();
    recentFiles_.add(path);
    CChildFrame* window = addWindow(std::move(document));
    if (!window)
        return nullptr;
    if (restored)
        mainFrame_->resultsPanel()->ShowDataPanel();
    // The reader's remark (a 16-bit picture's stretch), what became of the
    // measurement file and a calibration that differs from the one in force
    // are said once, in the status bar's message pane, until the next prompt
    // replaces them.
    if (!notices.empty())
        mainFrame_->setStatusPaneText(0, QString::fromStdString(notices));
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
                if (RunSettingsDialog(app.settings(), QApplication::activeWindow())) {
                    app.ApplyUndoMemory();
                    app.ApplyAutosaveInterval();
                }
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
