// Frames by their start times: ASF-like millisecond times of a 30 frames per
// second recording, and frames given out of order as reordered streams give
// them.
#include "acquire/FrameTimeline.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

constexpr int64_t kMs = 1'000'000;

TEST(FrameTimeline, FramesAreCountedByTheirTimesNotByARate) {
    // 30 frames per second timed in whole milliseconds: 0, 33, 67, 100, ...
    std::vector<int64_t> times;
    for (int64_t frame = 0; frame < 50; ++frame)
        times.push_back((frame * 1000 + 15) / 30 * kMs);
    const FrameTimeline timeline(times);
    EXPECT_EQ(timeline.count(), 50);
    EXPECT_EQ(timeline.startOf(49), 1633 * kMs);
    EXPECT_EQ(timeline.startOf(1), 33 * kMs);
}

TEST(FrameTimeline, TimesGivenOutOfOrderOrTwiceBecomeOneFrameEach) {
    const FrameTimeline timeline({40 * kMs, 0, 20 * kMs, 20 * kMs, 60 * kMs});
    EXPECT_EQ(timeline.count(), 4);
    EXPECT_EQ(timeline.startOf(0), 0);
    EXPECT_EQ(timeline.startOf(1), 20 * kMs);
    EXPECT_EQ(timeline.startOf(3), 60 * kMs);
}

TEST(FrameTimeline, TheFrameAtATimeIsTheLastStartedByThen) {
    const FrameTimeline timeline({0, 33 * kMs, 67 * kMs, 100 * kMs});
    EXPECT_EQ(timeline.frameAt(0), 0);
    EXPECT_EQ(timeline.frameAt(33 * kMs), 1);
    EXPECT_EQ(timeline.frameAt(50 * kMs), 1) << "within the frame";
    EXPECT_EQ(timeline.frameAt(67 * kMs - 1), 2) << "a nanosecond short rounds to the frame";
    EXPECT_EQ(timeline.frameAt(66 * kMs), 1) << "a millisecond short is the frame before";
    EXPECT_EQ(timeline.frameAt(5000 * kMs), 3);
    EXPECT_EQ(timeline.frameAt(-10 * kMs), 0) << "before the first frame";
    EXPECT_EQ(FrameTimeline().frameAt(0), -1);
    EXPECT_EQ(FrameTimeline().count(), 0);
}

} // namespace
} // namespace halvera
