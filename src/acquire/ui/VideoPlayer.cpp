#include "acquire/ui/VideoPlayer.h"

#include "acquire/VideoTexts.h"
#include "acquire/ui/VideoWindow.h"

namespace halvera {

CVideoPlayer::CVideoPlayer(QWidget* owner) : owner_(owner) {}

CVideoPlayer::~CVideoPlayer() {
    teardown();
}

void CVideoPlayer::open(const std::string& path) {
    teardown();
    playback_ = Video().openFile(path);
    if (!playback_)
        return;
    VideoPlayback* playback = playback_.get();
    window_ = new CVideoWindow(owner_, QStringLiteral("Video Playback Window"),
                               [playback] { return playback->snapshot(); });
    // Closing the window closes the file.
    QObject::connect(window_, &CVideoWindow::closedByUser, window_, [this] { teardown(); });
    window_->present(playback_->videoSize());
}

void CVideoPlayer::run() {
    if (playback_)
        playback_->run();
}

void CVideoPlayer::pause() {
    if (playback_)
        playback_->pause();
}

void CVideoPlayer::toStart() {
    if (playback_)
        playback_->toStart();
}

void CVideoPlayer::toEnd() {
    if (playback_)
        playback_->toEnd();
}

void CVideoPlayer::step(int frames) {
    if (playback_)
        playback_->step(frames);
}

void CVideoPlayer::restart() {
    toStart();
    run();
}

void CVideoPlayer::setRate(double rate) {
    rate_ = rate;
    if (playback_)
        playback_->setRate(rate);
}

PackedDib CVideoPlayer::snap() {
    return playback_ ? playback_->snapshot() : PackedDib();
}

void CVideoPlayer::teardown() {
    // The window goes first: it reads its frames from the playback.
    if (window_) {
        window_->disconnect();
        window_->hide();
        window_->deleteLater();
    }
    window_ = nullptr;
    playback_.reset();
}

bool CVideoPlayer::pollEvents() {
    if (!playback_)
        return false;
    for (VideoEvent event : playback_->takeEvents()) {
        if (event == VideoEvent::Complete) {
            playback_->loop();
            return false;
        }
        teardown();
        return true;
    }
    return false;
}

std::optional<int64_t> CVideoPlayer::progress() {
    if (!playback_)
        return {};
    const std::optional<int64_t> length = playback_->duration();
    if (!length || *length <= 0)
        return {};
    int64_t percent = 0;
    if (!PlaybackProgress(playback_->position().value_or(0), *length, percent))
        return {};
    return percent;
}

} // namespace halvera
