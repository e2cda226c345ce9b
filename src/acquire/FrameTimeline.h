#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace halvera {

// The frames of a video file by their start times (stream time in
// nanoseconds, the times a seek takes). Frame N is the N-th frame shown, so
// stepping and "the last frame" follow the file's own timestamps rather
// than a frame rate: containers such as ASF give frames at whatever times
// the recording had and announce a rate that is only a guess.
class FrameTimeline {
public:
    FrameTimeline() = default;
    // Times in any order; a time given twice is one frame.
    explicit FrameTimeline(std::vector<int64_t> startTimes);

    int64_t count() const { return static_cast<int64_t>(starts_.size()); }
    // The start of frame `index` (0 <= index < count()).
    int64_t startOf(int64_t index) const { return starts_[static_cast<size_t>(index)]; }
    // The frame shown at `streamTime`: the last one starting at or before it.
    // A time a little short of a frame's start (a timestamp rounded down on
    // its way through the decoder) counts as that frame. 0 before the first
    // frame; -1 when there are no frames.
    int64_t frameAt(int64_t streamTime) const;

private:
    std::vector<int64_t> starts_;
};

} // namespace halvera
