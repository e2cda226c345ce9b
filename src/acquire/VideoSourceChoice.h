#pragma once

#include <optional>
#include <string>

namespace halvera {

// A video source by its place in the device list and its name.
struct VideoSourceChoice {
    int index = 0;
    std::string name;
};

// The source Preview and Capture use: with exactly one video source that one,
// whatever was chosen before (there is nothing to ask); with several the
// stored choice, which opening the stream then checks. Nothing, after its
// message, when there is no source at all.
std::optional<VideoSourceChoice> ChooseVideoSource(const VideoSourceChoice& stored);

} // namespace halvera
