// The player on files of the common containers, made at run time by the
// framework's own encoders: frame counts, the last frame, frame numbers and
// steps follow the frames each file holds, checked against a plain decode of
// every frame from the first to the last.
#include "ImageFileTestSupport.h"
#include "RecordingPrompts.h"
#include "TestVideoFiles.h"
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

constexpr int kFrames = 50;

struct Container {
    const char* name;
    const char* file;
    const char* encoding;
};

// ASF announces 25 frames per second whatever the recording had and times its
// frames in whole milliseconds; MP4 stores H.264 with reordered frames and an
// edit list; a bare H.264 stream times its frames only once decoded.
const Container kContainers[] = {
    {"Asf", "clip.wmv", "avenc_wmv2 ! asfmux"},
    {"Avi", "clip.avi", "jpegenc ! avimux"},
    {"Mp4", "clip.mp4", "x264enc ! mp4mux"},
    {"Matroska", "clip.mkv", "x264enc ! matroskamux"},
    {"H264Stream", "clip.h264", "x264enc ! video/x-h264,stream-format=byte-stream"},
};

class EncodedVideo : public ::testing::TestWithParam<Container> {
protected:
    void SetUp() override {
        UseSimulatedCamera(); // starts the framework
        const std::string path = dir.file(GetParam().file);
        ASSERT_TRUE(EncodeTestVideo(path, GetParam().encoding, kFrames)) << GetParam().encoding;
        truth = DecodeEveryFrame(path);
        ASSERT_EQ(truth.size(), size_t(kFrames));
        ASSERT_NE(truth[kFrames - 2], truth[kFrames - 1]) << "the ball moves from frame to frame";
        playback = Video().openFile(path);
        ASSERT_NE(playback, nullptr);
    }

    // Whether the player shows frame `index`; else which frame it shows.
    ::testing::AssertionResult showsFrame(size_t index) {
        const FramePixels shown = PixelsOf(playback->snapshot());
        if (shown == truth[index])
            return ::testing::AssertionSuccess();
        for (size_t other = 0; other < truth.size(); ++other) {
            if (shown == truth[other])
                return ::testing::AssertionFailure()
                       << "shows frame " << other << " instead of " << index;
        }
        return ::testing::AssertionFailure() << "shows no frame of the file instead of " << index;
    }

    ScopedRecordingPrompts prompts;
    TemporaryFolder dir;
    std::vector<FramePixels> truth;
    std::unique_ptr<VideoPlayback> playback;
};

TEST_P(EncodedVideo, CountsEveryFrameAndGoesToTheTrueLastOne) {
    EXPECT_EQ(playback->frameCount(), kFrames);
    ASSERT_TRUE(playback->toEnd());
    EXPECT_TRUE(showsFrame(kFrames - 1));
    playback->step(1);
    EXPECT_TRUE(showsFrame(kFrames - 1)) << "past the last frame a step stays on it";
    ASSERT_TRUE(playback->step(-1));
    EXPECT_TRUE(showsFrame(kFrames - 2));
    ASSERT_TRUE(playback->toStart());
    EXPECT_TRUE(showsFrame(0));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_P(EncodedVideo, EachFrameNumberShowsThatFrameAndStepsGoFromIt) {
    for (size_t index :
         {size_t(0), size_t(1), size_t(17), size_t(kFrames - 2), size_t(kFrames - 1)}) {
        ASSERT_TRUE(playback->seekFrame(static_cast<int64_t>(index)));
        EXPECT_TRUE(showsFrame(index));
    }
    EXPECT_FALSE(playback->seekFrame(kFrames));
    ASSERT_TRUE(playback->seekFrame(17));
    ASSERT_TRUE(playback->step(1));
    EXPECT_TRUE(showsFrame(18));
    ASSERT_TRUE(playback->step(-2));
    EXPECT_TRUE(showsFrame(16));
}

TEST(StillPicture, AJpegPictureOpensAsItsOneFrame) {
    UseSimulatedCamera();
    ScopedRecordingPrompts prompts;
    TemporaryFolder dir;
    const std::string path = dir.file("still.jpg");
    ASSERT_TRUE(EncodeTestVideo(path, "jpegenc", 1));
    const std::vector<FramePixels> truth = DecodeEveryFrame(path);
    ASSERT_EQ(truth.size(), 1u);
    std::unique_ptr<VideoPlayback> playback = Video().openFile(path);
    ASSERT_NE(playback, nullptr);
    EXPECT_EQ(playback->frameCount(), 1);
    EXPECT_TRUE(playback->seekFrame(0));
    EXPECT_TRUE(PixelsOf(playback->snapshot()) == truth[0]);
    EXPECT_TRUE(playback->toEnd());
    EXPECT_TRUE(PixelsOf(playback->snapshot()) == truth[0]);
    EXPECT_FALSE(playback->seekFrame(1));
    EXPECT_TRUE(prompts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Containers, EncodedVideo, ::testing::ValuesIn(kContainers),
                         [](const ::testing::TestParamInfo<Container>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace halvera::testing
