#pragma once

#include "acquire/VideoSystem.h"

#include <memory>
#include <string>

namespace halvera {

// Playback through playbin with video only, its pictures going to an appsink
// as BGR frames (the shown frame is the appsink's last sample). Opening waits
// (at most a few seconds) until the first frame is shown, stopped. Null,
// without a message, when the file cannot be played.
std::unique_ptr<VideoPlayback> OpenPlaybackPipeline(const std::string& path);

bool PlaybackPluginsInstalled();

} // namespace halvera
