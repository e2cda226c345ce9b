#pragma once

#include "cli/CommandWords.h"

#include <optional>
#include <span>
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
// Without --source the first device is used. Every failure prints its reason
// (the program's message, or the framework's) and gives exit status 1; a
// record OUT not ending in .avi is wrong usage. An OUT picture file that
// holds more than one 8-bit picture is kept (status 1) unless --force.
struct VideoCommandLine {
    std::string command;
    std::vector<std::string> positional;
    std::optional<std::string> source;
    std::optional<std::string> time;
    std::optional<std::string> rate;
    bool force = false;
};

bool IsVideoCommand(const std::string& command);
// The options each video command knows (--quality is the picture writers').
std::span<const CommandOption> VideoCommandOptions(const std::string& command);
// The usage line of one video command.
std::string VideoCommandUsage(const std::string& command);
// Runs one of the commands above; throws UsageError on wrong use.
int RunVideoCommand(const VideoCommandLine& line);

} // namespace halvera
