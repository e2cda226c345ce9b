#include "acquire/ui/VideoCommands.h"

#include "acquire/VideoSourceChoice.h"
#include "acquire/VideoTexts.h"
#include "acquire/ui/VideoCapture.h"
#include "acquire/ui/VideoNumberDialog.h"
#include "acquire/ui/VideoPlayer.h"
#include "acquire/ui/VideoPreview.h"
#include "acquire/ui/VideoSourceDialog.h"
#include "platform/UserPrompts.h"
#include "view/CommandIds.h"
#include "view/ui/FrameServices.h"

namespace halvera {

namespace {

constexpr int kCapturePane = 1;
constexpr int kProgressPane = 2;

constexpr char kCaptureFileFilter[] = "HLV file(*.avi)|*.avi; |Other files (*.*)|*.*||";
constexpr char kPlayFileFilter[] =
    "Video(*.avi *.mpg *.mpeg *.mov *.wmv)|*.avi; *.mpg; *.mpeg; *.mov; *.wmv;\t\t\t\t\t   "
    "|Image(*.jpg, *.bmp, *.gif, *.tga)|*.jpg; *.bmp; *.gif; *.tga;\t\t\t\t\t   "
    "|Other (*.*)|*.*||";

} // namespace

CVideoCommands::CVideoCommands(AppSettings& settings, QWidget* owner, Deliver deliver)
    : settings_(settings), deliver_(std::move(deliver)), owner_(owner),
      player_(std::make_unique<CVideoPlayer>(owner)) {}

CVideoCommands::~CVideoCommands() {
    closeAll();
}

void CVideoCommands::closeAll() {
    preview_.reset();
    if (capture_) {
        capture_.reset();
        setPane(kCapturePane, " ");
    }
    player_->teardown();
}

void CVideoCommands::setPane(int pane, const std::string& text) {
    std::string& shown = paneTexts_.at(static_cast<size_t>(pane));
    if (shown == text)
        return;
    shown = text;
    if (FrameServices* frame = Frame())
        frame->setStatusPaneText(pane, QString::fromStdString(text));
}

// ---------------------------------------------------------------- commands

const CommandMap<CVideoCommands>& CVideoCommands::Commands() {
    using Self = CVideoCommands;
    auto whilePreview = [](Self& self, CommandState& state) {
        state.enabled = self.previewRunning();
    };
    auto whileCapture = [](Self& self, CommandState& state) {
        state.enabled = self.captureRunning();
    };
    auto whileLoaded = [](Self& self, CommandState& state) {
        state.enabled = self.playLoaded();
    };
    static const auto map =
        CommandMap<Self>()
            .add(kIdPreview, &Self::startPreview)
            .add(
                kIdPausePreview, [](Self& self) { self.preview_->pause(); }, whilePreview)
            .add(
                kIdQuitPreview, [](Self& self) { self.preview_.reset(); }, whilePreview)
            .add(kIdPreviewSnap, &Self::snapPreview, whilePreview)
            .add(
                kIdVideoFilter, [](Self& self) { self.preview_->showFilter(); }, whilePreview)
            .add(kIdCaptureToDisc, &Self::captureToDisc)
            .add(
                kIdPauseCapture, [](Self& self) { self.capture_->pause(); }, whileCapture)
            .add(kIdQuitCapture, &Self::quitCapture, whileCapture)
            .add(kIdSetCaptureTimeLimit, &Self::setCaptureTimeLimit)
            .add(kIdSetCaptureFileName, &Self::setCaptureFileName)
            .add(kIdSetCaptureRate, &Self::setCaptureRate)
            .add(kIdSelectVideoSource, &Self::selectVideoSource)
            .add(kIdOpenPlayFile, &Self::openPlayFile)
            .add(kIdSetPlayRate, &Self::setPlayRate, whileLoaded)
            .add(kIdPlaySnap, &Self::snapPlayback, whileLoaded)
            .add(
                kIdPlayRun, [](Self& self) { self.player_->run(); }, whileLoaded)
            .add(
                kIdPlayPause, [](Self& self) { self.player_->pause(); }, whileLoaded)
            .add(
                kIdPlayToStart, [](Self& self) { self.player_->toStart(); }, whileLoaded)
            .add(
                kIdPlayPrevFrame, [](Self& self) { self.player_->step(-1); }, whileLoaded)
            .add(
                kIdPlayNextFrame, [](Self& self) { self.player_->step(1); }, whileLoaded)
            .add(
                kIdPlayToEnd, [](Self& self) { self.player_->toEnd(); }, whileLoaded)
            .add(
                kIdPlayRestart, [](Self& self) { self.player_->restart(); }, whileLoaded)
            .add(kIdQuitPlay, &Self::quitPlay, whileLoaded);
    return map;
}

bool CVideoCommands::onCommand(int id) {
    return Commands().dispatch(*this, id);
}

bool CVideoCommands::onUpdateCommand(int id, CommandState& state) {
    return Commands().update(*this, id, state);
}

bool CVideoCommands::previewRunning() const {
    return preview_ && preview_->running();
}

bool CVideoCommands::captureRunning() const {
    return capture_ && capture_->running();
}

bool CVideoCommands::playLoaded() const {
    return player_->loaded();
}

void CVideoCommands::newDocumentFrom(PackedDib picture) {
    // A frame that has not arrived yet gives nothing, and says nothing.
    if (picture)
        deliver_(std::move(picture));
}

// ---------------------------------------------------------------- preview

bool CVideoCommands::chooseSource() {
    const std::optional<VideoSourceChoice> choice =
        ChooseVideoSource({settings_.CaptureDevice, settings_.CaptureName});
    if (!choice)
        return false;
    settings_.CaptureDevice = choice->index;
    settings_.CaptureName = choice->name;
    return true;
}

void CVideoCommands::startPreview() {
    // A running preview only runs again (after a pause); a new one is built
    // on the source chosen now.
    if (!previewRunning() && !chooseSource())
        return;
    if (!preview_)
        preview_ = std::make_unique<CVideoPreview>(settings_, owner_);
    else if (!preview_->running())
        preview_->useSource(settings_.CaptureDevice, settings_.CaptureName);
    preview_->start();
}

void CVideoCommands::snapPreview() {
    newDocumentFrom(preview_->snap());
}

// ---------------------------------------------------------------- capture

void CVideoCommands::captureToDisc() {
    // A running capture is asked about again as it is; a new one is built
    // on the source chosen now, so the question names it.
    if (!captureRunning()) {
        if (!chooseSource())
            return;
        capture_ = std::make_unique<CVideoCapture>(settings_, owner_);
    }
    const std::string question = CaptureConfirmationText(capture_->timeLimit(), capture_->rate(),
                                                         capture_->deviceName(), capture_->file());
    if (ShowMessage(question, MessageIcon::Warning, MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    // The timer keeps ticking while the question is open: a recording that
    // reached its time limit meanwhile is gone, and a new one is made.
    if (!capture_)
        capture_ = std::make_unique<CVideoCapture>(settings_, owner_);
    capture_->start();
    captureClock_.start();
}

void CVideoCommands::quitCapture() {
    capture_.reset();
    setPane(kCapturePane, " ");
}

void CVideoCommands::setCaptureTimeLimit() {
    AppSettings& settings = settings_;
    CVideoNumberDialog dialog(CVideoNumberDialog::kCaptureTime,
                              FormatCaptureTime(settings.captureTimeLimit), &ParseCaptureTime,
                              owner_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings.captureTimeLimit = dialog.value();
    // The next recording is built with the new limit.
    quitCapture();
}

void CVideoCommands::setCaptureRate() {
    AppSettings& settings = settings_;
    CVideoNumberDialog dialog(CVideoNumberDialog::kCaptureRate,
                              FormatCaptureRate(settings.captureRate), &ParseCaptureRate, owner_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings.captureRate = dialog.value();
    quitCapture();
}

void CVideoCommands::setCaptureFileName() {
    FileDialogRequest request;
    request.save = true;
    request.filter = kCaptureFileFilter;
    request.proposedName = settings_.CaptureFile;
    request.promptOverwrite = true;
    request.pathMustExist = true;
    if (std::optional<std::string> path = Prompts().askFileName(request))
        settings_.CaptureFile = *path;
}

void CVideoCommands::selectVideoSource() {
    const std::vector<std::string> names =
        Video().listSources().value_or(std::vector<std::string>());
    CVideoSourceDialog dialog(names, owner_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const int index = dialog.chosenIndex(); index >= 0) {
        settings_.CaptureDevice = index;
        settings_.CaptureName = names[static_cast<size_t>(index)];
    }
    // The next preview and recording are built on the new source.
    preview_.reset();
    quitCapture();
}

// ---------------------------------------------------------------- playback

void CVideoCommands::openPlayFile() {
    FileDialogRequest request;
    request.filter = kPlayFileFilter;
    request.pathMustExist = true;
    const std::optional<std::string> path = Prompts().askFileName(request);
    if (!path)
        return;
    player_->open(*path);
    if (!player_->loaded())
        setPane(kProgressPane, " ");
}

void CVideoCommands::setPlayRate() {
    CVideoNumberDialog dialog(CVideoNumberDialog::kPlayRate, FormatPlayRate(player_->rate()),
                              &ParsePlayRate, owner_);
    if (dialog.exec() == QDialog::Accepted)
        player_->setRate(dialog.value());
}

void CVideoCommands::snapPlayback() {
    newDocumentFrom(player_->snap());
}

void CVideoCommands::quitPlay() {
    player_->teardown();
    setPane(kProgressPane, " ");
}

// ---------------------------------------------------------------- timer

void CVideoCommands::onTick() {
    if (preview_)
        preview_->pollEvents();
    followCapture();
    followPlayback();
}

void CVideoCommands::followCapture() {
    if (!capture_)
        return;
    // A stream that ended by itself (the device went away) is torn down; its
    // file is complete, and the time left is no longer shown.
    if (capture_->pollEvents()) {
        setPane(kCapturePane, " ");
        return;
    }
    if (!capture_->running()) {
        setPane(kCapturePane, " ");
        return;
    }
    // Pausing does not stop this clock: the capture ends on time either way.
    const double left =
        CaptureTimeLeft(capture_->timeLimit(), static_cast<double>(captureClock_.elapsed()));
    setPane(kCapturePane, CaptureStatusText(left, capture_->rate()));
    if (left <= 0.0)
        capture_.reset();
}

void CVideoCommands::followPlayback() {
    // Nothing loaded (any more): the file ended with an error, or its window was closed.
    if (player_->pollEvents() || !player_->loaded()) {
        setPane(kProgressPane, " ");
        return;
    }
    if (const std::optional<int64_t> percent = player_->progress())
        setPane(kProgressPane, ProgressStatusText(*percent));
}

} // namespace halvera
