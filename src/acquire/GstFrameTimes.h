#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace halvera {

// The start times (stream time, nanoseconds) of every frame of the first
// video stream of the file at `path`, in the order the file holds them.
//
// The file is first only taken apart (demuxed and parsed, nothing decoded),
// which is fast and gives every frame its time in the usual containers (AVI,
// ASF, MP4, QuickTime, Matroska). When some frame comes without a time (MPEG
// streams time only some of theirs) the file is decoded instead, the
// decoders filling in the times. A single untimed frame (a picture) is at 0.
// Nothing when the file cannot be read within the time limit, or its frames
// have no times even decoded.
std::optional<std::vector<int64_t>> ReadFrameTimes(const std::string& path);

} // namespace halvera
