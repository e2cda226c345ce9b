#include "acquire/FrameTimeline.h"

#include <algorithm>

namespace halvera {

namespace {

// Timestamps of the same frame read on two roads differ by rounding only:
// nanoseconds, at most the millisecond some containers count in.
constexpr int64_t kRoundingSlack = 500'000;

} // namespace

FrameTimeline::FrameTimeline(std::vector<int64_t> startTimes) : starts_(std::move(startTimes)) {
    std::sort(starts_.begin(), starts_.end());
    starts_.erase(std::unique(starts_.begin(), starts_.end()), starts_.end());
}

int64_t FrameTimeline::frameAt(int64_t streamTime) const {
    if (starts_.empty())
        return -1;
    const auto after =
        std::upper_bound(starts_.begin(), starts_.end(), streamTime + kRoundingSlack);
    return std::max<int64_t>(0, (after - starts_.begin()) - 1);
}

} // namespace halvera
