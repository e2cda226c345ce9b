#pragma once

#include "acquire/VideoSystem.h"
#include "acquire/ui/VideoWindow.h"
#include "image/PackedDib.h"

#include <QPointer>
#include <memory>
#include <string>

class QWidget;

namespace halvera {

// Playback of a video file in the "Video Playback Window": run, pause, the
// ends, frame steps, a rate, the shown frame as a picture, a loop at the end.
// The play rate stays with the player across files and is applied only when
// set.
class CVideoPlayer {
public:
    explicit CVideoPlayer(QWidget* owner);
    ~CVideoPlayer();
    CVideoPlayer(const CVideoPlayer&) = delete;
    CVideoPlayer& operator=(const CVideoPlayer&) = delete;

    // Opens `path` stopped at its first frame, after tearing down the file
    // before. A file that cannot be played leaves nothing loaded, silently.
    void open(const std::string& path);
    bool loaded() const { return playback_ != nullptr; }
    void run();
    void pause();
    void toStart();
    void toEnd();
    void step(int frames);
    // To the start, then run.
    void restart();
    double rate() const { return rate_; }
    // Stores `rate` and applies it; the framework refuses 0.
    void setRate(double rate);
    PackedDib snap();
    // Closes the file and hides the window.
    void teardown();

    // Follows the framework's reports: at the end the file starts over; an
    // error tears down. True when the player was torn down.
    bool pollEvents();
    // The progress in whole percent; nothing when the duration is unknown or not above 0.
    std::optional<int64_t> progress();

    CVideoWindow* window() const { return window_; }
    VideoPlayback* playback() const { return playback_.get(); }

private:
    QWidget* owner_;
    double rate_ = 1.0;
    std::unique_ptr<VideoPlayback> playback_;
    QPointer<CVideoWindow> window_;
};

} // namespace halvera
