#pragma once

#include "acquire/VideoSystem.h"

#include <memory>
#include <string>

namespace halvera {

// A file opened for playback, or why it could not be.
struct PlaybackOpening {
    std::unique_ptr<VideoPlayback> playback;
    std::string failure; // the framework's reason when there is no playback
};

// Playback through playbin with video only, its pictures going to an appsink
// as BGR frames (the shown frame is the appsink's last sample). Opening waits
// (at most a few seconds) until the first frame is shown, stopped. Frame
// numbers, steps and the last frame go by the times of the file's own
// frames (FrameTimeline), read from the file when first needed.
PlaybackOpening OpenPlaybackPipeline(const std::string& path);

bool PlaybackPluginsInstalled();

} // namespace halvera
