#pragma once

#include <optional>
#include <string>
#include <vector>

namespace halvera {

// The batch tool's video commands:
//
//   video-sources                                  the devices, one per line
//   snap OUT [--source NAME] [--force]             one frame as a picture
//   record OUT.avi --time SECONDS --rate FPS [--source NAME]
//                                                  records; prints the frames written
//   video-frame IN N OUT [--force]                 frame N (from 0) of a video file
//
// Without --source the first device is used. Device failures print the
// program's message and give exit status 1; so does an OUT that holds more
// than one 8-bit picture, unless --force.
struct VideoCommandLine {
    std::string command;
    std::vector<std::string> positional;
    std::optional<std::string> source;
    std::optional<std::string> time;
    std::optional<std::string> rate;
    bool force = false;
};

bool IsVideoCommand(const std::string& command);
// Runs one of the commands above; throws UsageError on wrong use.
int RunVideoCommand(const VideoCommandLine& line);

} // namespace halvera
