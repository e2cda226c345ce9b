// The batch tool's video commands, run as the real binary on the simulated camera.
#include "CliRunner.h"
#include "ImageFileTestSupport.h"
#include "PictureEncoders.h"
#include "TestVideoFiles.h"
#include "image/PictureFiles.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

// The simulated camera is switched on for the commands this fixture runs.
class CliVideo : public ::testing::Test {
protected:
    void SetUp() override { setenv("HALVERA_SIMULATED_CAMERA", "1", 1); }
    void TearDown() override { unsetenv("HALVERA_SIMULATED_CAMERA"); }

    TemporaryFolder dir;
};

TEST_F(CliVideo, VideoSourcesListsTheSimulatedCamera) {
    const CliResult result = RunCliCapturing({"video-sources"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Simulated camera\n"), std::string::npos) << result.out;
}

TEST_F(CliVideo, WithoutAnyCameraVideoSourcesSaysSo) {
    unsetenv("HALVERA_SIMULATED_CAMERA");
    const CliResult result = RunCliCapturing({"video-sources"});
    if (result.status == 0)
        GTEST_SKIP() << "this machine has a camera: " << result.out;
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("You have no video capture hardware!"), std::string::npos)
        << result.err;
}

TEST_F(CliVideo, SnapWritesOneFrameOfTheStreamSize) {
    const std::string picture = dir.file("snap.bmp");
    const CliResult snap = RunCliCapturing({"snap", picture, "--source", "Simulated camera"});
    ASSERT_EQ(snap.status, 0) << snap.err;
    const CliResult info = RunCliCapturing({"info", picture});
    EXPECT_EQ(info.out, "width=320 height=240 depth=24\n");
}

TEST_F(CliVideo, SnapKeepsAMultiPageTiffUnlessForced) {
    const std::string picture = dir.file("stack.tif");
    ASSERT_TRUE(WriteTiffFile(picture, PatternPicture(4, 3, TestColours::Grey, 8), {.pages = 2}));
    const Bytes before = ReadFileBytes(picture);
    const CliResult kept = RunCliCapturing({"snap", picture, "--source", "Simulated camera"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_NE(kept.err.find("(2 pages); saving replaces it. Give --force to save anyway."),
              std::string::npos)
        << kept.err;
    EXPECT_EQ(ReadFileBytes(picture), before);

    const CliResult forced =
        RunCliCapturing({"snap", picture, "--source", "Simulated camera", "--force"});
    ASSERT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(RunCliCapturing({"info", picture}).out, "width=320 height=240 depth=24\n");
}

TEST_F(CliVideo, SnapFromAnUnknownSourceAsksForOne) {
    const CliResult result =
        RunCliCapturing({"snap", dir.file("none.bmp"), "--source", "Camera in the drawer"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Please select a video source!"), std::string::npos) << result.err;
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(CliVideo, RecordedFramesComeBackFromVideoFrame) {
    const std::string video = dir.file("clip.avi");
    const CliResult record = RunCliCapturing({"record", video, "--time", "1", "--rate", "10"});
    ASSERT_EQ(record.status, 0) << record.err;
    const int frames = std::atoi(record.out.c_str());
    EXPECT_GE(frames, 8) << record.out;
    EXPECT_LE(frames, 12) << record.out;

    const std::string first = dir.file("first.bmp");
    ASSERT_EQ(RunCli({"video-frame", video, "0", first}), 0);
    EXPECT_EQ(RunCliCapturing({"info", first}).out, "width=320 height=240 depth=24\n");
    const std::string last = dir.file("last.jpg");
    EXPECT_EQ(RunCli({"video-frame", video, std::to_string(frames - 1), last}), 0);
    const CliResult past =
        RunCliCapturing({"video-frame", video, std::to_string(frames), dir.file("past.bmp")});
    EXPECT_EQ(past.status, 1);
    EXPECT_NE(past.err.find("there is no frame"), std::string::npos) << past.err;
}

TEST_F(CliVideo, WrongArgumentsAreUsageErrors) {
    const std::string video = dir.file("clip.avi");
    EXPECT_EQ(RunCli({"record", video, "--time", "1"}), 2);
    EXPECT_EQ(RunCli({"record", video, "--time", "1", "--rate", "0"}), 2);
    EXPECT_EQ(RunCli({"record", video, "--time", "soon", "--rate", "5"}), 2);
    EXPECT_EQ(RunCli({"snap", dir.file("frame.gif")}), 2);
    EXPECT_EQ(RunCli({"video-frame", video, "first", dir.file("f.bmp")}), 2);
    EXPECT_EQ(RunCli({"video-sources", "--rate", "5"}), 2);
    EXPECT_EQ(RunCli({"info", video, "--source", "Simulated camera"}), 2);
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(CliVideo, AFileThatIsNoVideoIsRefusedWithTheFrameworksReason) {
    const std::string text = dir.file("notes.avi");
    WriteFileBytes(text, Bytes{'n', 'o', 't', 'e', 's'});
    const CliResult result = RunCliCapturing({"video-frame", text, "0", dir.file("f.bmp")});
    EXPECT_EQ(result.status, 1);
    const std::string opening = "Cannot play the file " + text + ": ";
    EXPECT_TRUE(result.err.starts_with(opening)) << result.err;
    EXPECT_GT(result.err.size(), opening.size() + 1) << "a reason follows";
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"notes.avi"});
}

TEST_F(CliVideo, TheLastFrameOfAnAsfFileIsItsOwnLastFrame) {
    // ASF announces 25 frames per second for this 30 per second recording.
    const std::string video = dir.file("t.wmv");
    ASSERT_TRUE(EncodeTestVideo(video, "avenc_wmv2 ! asfmux", 50));
    const std::vector<FramePixels> truth = DecodeEveryFrame(video);
    ASSERT_EQ(truth.size(), 50u);
    ASSERT_NE(truth[48], truth[49]);

    const std::string last = dir.file("last.bmp");
    const CliResult result = RunCliCapturing({"video-frame", video, "49", last});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(PixelsOf(OpenPictureFile(last).picture) == truth[49]) << "frame 49 of the file";

    const CliResult past = RunCliCapturing({"video-frame", video, "50", dir.file("past.bmp")});
    EXPECT_EQ(past.status, 1);
    EXPECT_EQ(past.err, "The video has 50 frames; there is no frame 50.\n");
}

TEST_F(CliVideo, RecordWritesOnlyAviIntoAFolderThatExists) {
    const CliResult mp4 =
        RunCliCapturing({"record", dir.file("clip.mp4"), "--time", "1", "--rate", "5"});
    EXPECT_EQ(mp4.status, 2);
    EXPECT_TRUE(mp4.err.starts_with("halvera-cli: record writes AVI video: the output file must "
                                    "end in .avi: " +
                                    dir.file("clip.mp4") + "\n"))
        << mp4.err;

    const std::string missing = dir.file("Videos/HLV.avi");
    const CliResult nowhere = RunCliCapturing({"record", missing, "--time", "1", "--rate", "5"});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err, "Cannot record to " + missing + ": the folder " + dir.file("Videos") +
                               " does not exist.\n");
    EXPECT_TRUE(dir.entries().empty());

    // Any letter case of the ending is AVI.
    const CliResult upper =
        RunCliCapturing({"record", dir.file("CLIP.AVI"), "--time", "0.5", "--rate", "5"});
    EXPECT_EQ(upper.status, 0) << upper.err;
}

} // namespace
} // namespace halvera::testing
