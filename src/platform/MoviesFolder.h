#pragma once

#include <string>

namespace halvera {

// The user's folder for videos: $XDG_VIDEOS_DIR when it is set, else Videos
// in the home folder. The desktop program asks its toolkit instead, which
// also reads the user's folder names (QStandardPaths::MoviesLocation).
std::string MoviesFolder();

} // namespace halvera
