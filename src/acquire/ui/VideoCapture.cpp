#include "acquire/ui/VideoCapture.h"

#include "acquire/ui/VideoWindow.h"
#include "image/AppSettings.h"

namespace halvera {

CVideoCapture::CVideoCapture(const AppSettings& settings, QWidget* owner)
    : owner_(owner), deviceIndex_(settings.CaptureDevice), deviceName_(settings.CaptureName),
      file_(settings.CaptureFile), rate_(settings.captureRate),
      timeLimit_(settings.captureTimeLimit) {}

CVideoCapture::~CVideoCapture() {
    teardown();
}

void CVideoCapture::start() {
    if (running_) {
        recording_->run();
        return;
    }
    teardown();
    recording_ = Video().openRecording(deviceIndex_, deviceName_, file_, rate_);
    if (!recording_)
        return;
    VideoRecording* recording = recording_.get();
    window_ = new CVideoWindow(owner_, QStringLiteral("Capture Window"),
                               [recording] { return recording->snapshot(); });
    // Closing the window ends the recording (its file complete).
    QObject::connect(window_, &CVideoWindow::closedByUser, window_, [this] { teardown(); });
    window_->present(recording_->videoSize());
    running_ = true;
}

void CVideoCapture::pause() {
    if (running_)
        recording_->pause();
}

void CVideoCapture::teardown() {
    // The window goes first: it reads its frames from the recording.
    if (window_) {
        window_->disconnect();
        window_->hide();
        window_->deleteLater();
    }
    window_ = nullptr;
    if (recording_)
        recording_->finish();
    recording_.reset();
    running_ = false;
}

bool CVideoCapture::pollEvents() {
    if (!recording_ || recording_->takeEvents().empty())
        return false;
    teardown();
    return true;
}

} // namespace halvera
