// The GStreamer pipelines on the simulated camera: the device list, the
// device check, preview frames, recordings that play back, and stepping.
#include "ImageFileTestSupport.h"
#include "RecordingPrompts.h"
#include "VideoTestSupport.h"
#include "acquire/SimulatedCamera.h"
#include "acquire/VideoMessages.h"
#include "acquire/VideoSourceChoice.h"
#include "image/BitmapInfoHeader.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <thread>

namespace halvera::testing {
namespace {

using namespace std::chrono_literals;

// Polls `ready` every 10 ms for at most five seconds.
template <class Ready> bool WaitUntil(Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

const BitmapInfoHeader& Header(const PackedDib& picture) {
    return *picture.header();
}

class VideoSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseSimulatedCamera();
        const std::optional<int> found = SimulatedCameraIndex();
        ASSERT_TRUE(found.has_value());
        camera = *found;
    }
    void TearDown() override {
        SetSimulatedCamerasUnplugged(false);
        SetSimulatedCameraCount(1);
    }

    std::string path(const char* name) const { return dir.file(name); }

    ScopedRecordingPrompts prompts;
    TemporaryFolder dir;
    int camera = 0;
};

TEST_F(VideoSystemTest, TheDeviceMonitorFindsTheSimulatedCamera) {
    const std::optional<std::vector<std::string>> names = Video().listSources();
    ASSERT_TRUE(names.has_value());
    EXPECT_LE(names->size(), size_t(kMaxVideoSources));
    EXPECT_EQ((*names)[static_cast<size_t>(camera)], kSimulatedCameraName);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(VideoSystemTest, AStoredNameOrIndexThatNoLongerMatchesAsksForASource) {
    EXPECT_EQ(Video().openPreview(camera, "Old camera"), nullptr);
    EXPECT_EQ(Video().openPreview(99, kSimulatedCameraName), nullptr);
    EXPECT_EQ(Video().openRecording(camera, "", path("x.avi"), 5.0), nullptr);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>(3, kMsgSelectSource));
}

TEST_F(VideoSystemTest, PreviewDeliversMovingFramesOfTheStreamSize) {
    std::unique_ptr<LiveVideo> preview = Video().openPreview(camera, kSimulatedCameraName);
    ASSERT_NE(preview, nullptr);
    PackedDib first;
    ASSERT_TRUE(WaitUntil([&] { return bool(first = preview->snapshot()); }));
    EXPECT_EQ(Header(first).biWidth, 320);
    EXPECT_EQ(Header(first).biHeight, 240);
    EXPECT_EQ(Header(first).biBitCount, 24);
    EXPECT_EQ(first.size(), sizeof(BitmapInfoHeader) + 320 * 3 * 240);
    EXPECT_TRUE(HasDifferentPixels(first));
    EXPECT_EQ(preview->videoSize(), (VideoSize{320, 240}));
    // The pattern moves: a later frame differs.
    EXPECT_TRUE(WaitUntil([&] { return !SamePicture(preview->snapshot(), first); }));
    EXPECT_TRUE(preview->pause());
    EXPECT_TRUE(preview->run());
    EXPECT_TRUE(preview->takeEvents().empty());
}

TEST_F(VideoSystemTest, DeviceOffersItsAdjustmentsAndTakesNewValues) {
    std::unique_ptr<LiveVideo> preview = Video().openPreview(camera, kSimulatedCameraName);
    ASSERT_NE(preview, nullptr);
    std::vector<VideoAdjustment> adjustments = preview->adjustments();
    ASSERT_FALSE(adjustments.empty());
    const VideoAdjustment first = adjustments.front();
    EXPECT_LT(first.minimum, first.maximum);
    const int wanted = first.value == first.maximum ? first.minimum : first.maximum;
    EXPECT_TRUE(preview->setAdjustment(first.name, wanted));
    EXPECT_EQ(preview->adjustments().front().value, wanted);
    EXPECT_FALSE(preview->setAdjustment("no such property", 1));
}

TEST_F(VideoSystemTest, UnpluggingReportsTheDeviceLost) {
    std::unique_ptr<LiveVideo> preview = Video().openPreview(camera, kSimulatedCameraName);
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return bool(preview->snapshot()); }));
    SetSimulatedCamerasUnplugged(true);
    std::vector<VideoEvent> events;
    ASSERT_TRUE(WaitUntil([&] { return !(events = preview->takeEvents()).empty(); }));
    EXPECT_EQ(events.front(), VideoEvent::DeviceLost);
}

TEST_F(VideoSystemTest, RecordingOfTwoSecondsAtFiveFramesPlaysBackWithAboutTenFrames) {
    const int64_t written = RecordSimulated(path("two.avi"), 2.0, 5.0);
    EXPECT_GE(written, 8);
    EXPECT_LE(written, 12);
    std::unique_ptr<VideoPlayback> playback = Video().openFile(path("two.avi"));
    ASSERT_NE(playback, nullptr);
    EXPECT_EQ(playback->frameCount(), written);
    const PackedDib first = playback->snapshot();
    ASSERT_TRUE(first);
    EXPECT_EQ(Header(first).biWidth, 320);
    EXPECT_EQ(Header(first).biHeight, 240);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(VideoSystemTest, UnpluggedWhileRecordingStillLeavesAPlayableFile) {
    const std::optional<int> index = SimulatedCameraIndex();
    std::unique_ptr<VideoRecording> recording =
        Video().openRecording(*index, kSimulatedCameraName, path("cut.avi"), 10.0);
    ASSERT_NE(recording, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return recording->framesWritten() >= 3; }));
    SetSimulatedCamerasUnplugged(true);
    std::vector<VideoEvent> events;
    ASSERT_TRUE(WaitUntil([&] { return !(events = recording->takeEvents()).empty(); }));
    EXPECT_EQ(events.front(), VideoEvent::DeviceLost);
    const int64_t written = recording->finish();
    EXPECT_GE(written, 3);
    std::unique_ptr<VideoPlayback> playback = Video().openFile(path("cut.avi"));
    ASSERT_NE(playback, nullptr);
    EXPECT_EQ(playback->frameCount(), written);
}

TEST_F(VideoSystemTest, PausedRecordingIsFinishedCompletely) {
    std::unique_ptr<VideoRecording> recording =
        Video().openRecording(camera, kSimulatedCameraName, path("paused.avi"), 10.0);
    ASSERT_NE(recording, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return recording->framesWritten() >= 2; }));
    EXPECT_TRUE(recording->pause());
    const int64_t written = recording->finish();
    EXPECT_GE(written, 2);
    // Asked again it only answers.
    EXPECT_EQ(recording->finish(), written);
    std::unique_ptr<VideoPlayback> playback = Video().openFile(path("paused.avi"));
    ASSERT_NE(playback, nullptr);
    EXPECT_EQ(playback->frameCount(), written);
}

class PlaybackTest : public VideoSystemTest {
protected:
    void SetUp() override {
        VideoSystemTest::SetUp();
        frames = RecordSimulated(path("steps.avi"), 1.0, 10.0);
        ASSERT_GE(frames, 4);
        playback = Video().openFile(path("steps.avi"));
        ASSERT_NE(playback, nullptr);
    }

    int64_t frames = 0;
    std::unique_ptr<VideoPlayback> playback;
};

TEST_F(PlaybackTest, StepsForwardAndBackReturnToTheSameFrames) {
    ASSERT_TRUE(playback->toStart());
    const PackedDib first = playback->snapshot();
    ASSERT_TRUE(playback->step(1));
    const PackedDib second = playback->snapshot();
    EXPECT_FALSE(SamePicture(first, second));
    ASSERT_TRUE(playback->step(1));
    EXPECT_FALSE(SamePicture(second, playback->snapshot()));
    ASSERT_TRUE(playback->step(-1));
    EXPECT_TRUE(SamePicture(second, playback->snapshot()));
    ASSERT_TRUE(playback->step(-1));
    EXPECT_TRUE(SamePicture(first, playback->snapshot()));
    // Before the first frame the step stops at it.
    playback->step(-1);
    EXPECT_TRUE(SamePicture(first, playback->snapshot()));
}

TEST_F(PlaybackTest, ToEndShowsTheLastFrameAndSeekFrameStopsThere) {
    ASSERT_TRUE(playback->toEnd());
    const PackedDib last = playback->snapshot();
    ASSERT_TRUE(playback->seekFrame(frames - 1));
    EXPECT_TRUE(SamePicture(last, playback->snapshot()));
    ASSERT_TRUE(playback->seekFrame(0));
    EXPECT_FALSE(SamePicture(last, playback->snapshot()));
    EXPECT_FALSE(playback->seekFrame(frames));
    // Past the last frame a step stays on it.
    ASSERT_TRUE(playback->toEnd());
    playback->step(1);
    EXPECT_TRUE(SamePicture(last, playback->snapshot()));
}

TEST_F(PlaybackTest, RunningToTheEndCompletesAndLoopsToTheStart) {
    ASSERT_TRUE(playback->setRate(4.0));
    ASSERT_TRUE(playback->run());
    std::vector<VideoEvent> events;
    ASSERT_TRUE(WaitUntil([&] { return !(events = playback->takeEvents()).empty(); }));
    EXPECT_EQ(events.front(), VideoEvent::Complete);
    const int64_t length = playback->duration().value_or(0);
    ASSERT_GT(length, 0);
    ASSERT_TRUE(playback->loop());
    // It plays on from the start: the position falls back below the end.
    EXPECT_TRUE(WaitUntil([&] { return playback->position().value_or(length) < length / 2; }));
}

TEST_F(PlaybackTest, ARateOfZeroIsRefused) {
    EXPECT_FALSE(playback->setRate(0.0));
    EXPECT_TRUE(playback->setRate(2.0));
}

TEST(VideoFiles, AFileThatCannotBePlayedOpensNothingAndSaysWhy) {
    UseSimulatedCamera();
    ScopedRecordingPrompts prompts;
    TemporaryFolder dir;
    const std::string path = dir.file("not-a-video.avi");
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("this is text, not video", file);
    std::fclose(file);
    EXPECT_EQ(Video().openFile(path), nullptr);
    const std::string missing = dir.file("missing.avi");
    EXPECT_EQ(Video().openFile(missing), nullptr);
    ASSERT_EQ(prompts.messages.size(), 2u);
    // The framework's own reasons follow the file's name.
    EXPECT_TRUE(prompts.messages[0].text.starts_with("Cannot play the file " + path + ": "))
        << prompts.messages[0].text;
    EXPECT_GT(prompts.messages[0].text.size(), ("Cannot play the file " + path + ": ").size());
    EXPECT_TRUE(prompts.messages[1].text.starts_with("Cannot play the file " + missing + ": "))
        << prompts.messages[1].text;
}

TEST_F(VideoSystemTest, RecordingIntoAFolderThatDoesNotExistSaysSoBeforeAskingTheDevice) {
    // A device asked under a name it no longer has would ask for a source.
    const std::string file = path("Videos/HLV.avi");
    EXPECT_EQ(Video().openRecording(camera, "Old camera", file, 5.0), nullptr);
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"Cannot record to " + file + ": the folder " +
                                       path("Videos") + " does not exist."});
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(VideoSystemTest, TheOnlySourceIsChosenWhateverWasStored) {
    if (Video().listSources().value_or(std::vector<std::string>()).size() != 1)
        GTEST_SKIP() << "this machine has a camera of its own besides the simulated one";
    const std::optional<VideoSourceChoice> choice = ChooseVideoSource({3, "Camera of last year"});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->index, 0);
    EXPECT_EQ(choice->name, kSimulatedCameraName);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(VideoSystemTest, AmongSeveralSourcesTheStoredChoiceStands) {
    SetSimulatedCameraCount(2);
    const std::optional<VideoSourceChoice> choice = ChooseVideoSource({3, "Camera of last year"});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->index, 3);
    EXPECT_EQ(choice->name, "Camera of last year");
}

} // namespace
} // namespace halvera::testing
