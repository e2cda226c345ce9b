// The calibration presets of `halvera-cli`: listed, chosen and saved through
// the real binary, in a private settings folder (XDG_CONFIG_HOME).
#include "CliRunner.h"
#include "ImageFileTestSupport.h"
#include "cli/DesktopSettingsFile.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::CliResult;
using testing::RunCliCapturing;
using testing::TemporaryFolder;

void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    testing::WriteFileBytes(path, testing::Bytes(text.begin(), text.end()));
}

class PresetCommands : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", config_.file("config").c_str(), 1); }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

    std::string settingsFile() const { return config_.file("config/ HLVT/Halvera.ini"); }
    std::string file(const std::string& name) const { return work_.file(name); }

private:
    TemporaryFolder config_;
    TemporaryFolder work_;
};

TEST_F(PresetCommands, SavedPresetIsListedAndChosenByName) {
    EXPECT_EQ(RunCliCapturing({"presets"}).out, "");
    const CliResult saved = RunCliCapturing(
        {"measure", "--calibration", "0,20,25,100,100", "--save-preset", "10x objective"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    ASSERT_EQ(
        RunCliCapturing({"measure", "--calibration", "1,3,3,10,10", "--save-preset", "4x"}).status,
        0);

    const CliResult listed = RunCliCapturing({"presets"});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out,
              "10x objective: 0.200000 x 0.250000 um/px\n4x: 0.300000 x 0.300000 mm/px\n");

    const CliResult measured =
        RunCliCapturing({"measure", "line:0,0,50,0", "--preset", "10x objective", "--values"});
    ASSERT_EQ(measured.status, 0) << measured.err;
    EXPECT_EQ(measured.out.substr(0, 26), "line Length=10.000 Angle=0");
}

TEST_F(PresetCommands, SavingAgainReplacesThePresetInItsPlace) {
    for (const char* calibration : {"0,20,20,100,100", "0,50,50,100,100", "0,40,40,100,100"})
        ASSERT_EQ(RunCliCapturing({"measure", "--calibration", calibration, "--save-preset",
                                   calibration[2] == '5' ? "B" : "A"})
                      .status,
                  0);
    EXPECT_EQ(RunCliCapturing({"presets"}).out,
              "A: 0.400000 x 0.400000 um/px\nB: 0.500000 x 0.500000 um/px\n");
}

TEST_F(PresetCommands, AnUnknownNameIsWrongUsageAndWritesNothing) {
    const std::string csv = file("out.csv");
    const CliResult measure =
        RunCliCapturing({"measure", "point:1,1", "--csv", csv, "--preset", "100x"});
    EXPECT_EQ(measure.status, 2);
    EXPECT_NE(measure.err.find("there is no calibration preset named '100x'"), std::string::npos)
        << measure.err;
    EXPECT_FALSE(std::filesystem::exists(csv));

    const std::string pdf = file("out.pdf");
    EXPECT_EQ(RunCliCapturing({"print", "in.bmp", pdf, "--preset", "100x"}).status, 2);
    EXPECT_EQ(
        RunCliCapturing({"apply", "in.bmp", file("out.bmp"), "invert", "--preset", "100x"}).status,
        2);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
}

TEST_F(PresetCommands, PresetAndCalibrationTogetherAreWrongUsage) {
    ASSERT_EQ(RunCliCapturing({"measure", "--calibration", "0,20,20,100,100", "--save-preset", "A"})
                  .status,
              0);
    const CliResult both = RunCliCapturing(
        {"print", "in.bmp", file("out.pdf"), "--preset", "A", "--calibration", "0,1,1,1,1"});
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.err.find("give --calibration or --preset, not both"), std::string::npos);
    EXPECT_EQ(RunCliCapturing({"measure", "--save-preset", "  "}).status, 2);
}

TEST_F(PresetCommands, SavingKeepsEveryOtherSettingOfTheDesktop) {
    const std::string before = "[%20HLVT]\nImageWidth=640\nCaptureName=\"Camera, USB\"\n\n"
                               "[Other]\nkey=value\n";
    WriteText(settingsFile(), before);
    ASSERT_EQ(RunCliCapturing({"measure", "--save-preset", "default"}).status, 0);
    EXPECT_EQ(testing::ReadFileText(settingsFile()),
              "[%20HLVT]\nImageWidth=640\nCaptureName=\"Camera, USB\"\nRulerPresetCount=1\n"
              "RulerPreset1=0|100.00000000|100.00000000|100|100|default\n\n[Other]\nkey=value\n");
    DesktopSettingsFile desktop(settingsFile());
    EXPECT_EQ(desktop.readString(" HLVT", "CaptureName"), "Camera, USB");
    EXPECT_EQ(desktop.readInt(" HLVT", "ImageWidth"), 640);
    EXPECT_EQ(desktop.readInt("Other", "key"), std::nullopt);
}

TEST_F(PresetCommands, TheCsvNamesThePresetAndThePicture) {
    ASSERT_EQ(RunCliCapturing(
                  {"measure", "--calibration", "0,20,20,100,100", "--save-preset", "10x objective"})
                  .status,
              0);
    const std::string csv = file("out.csv");
    const CliResult measured = RunCliCapturing(
        {"measure", "--preset", "10x objective", "line:0,0,50,0", "--select", "2", "--csv", csv});
    ASSERT_EQ(measured.status, 0) << measured.err;
    EXPECT_EQ(testing::ReadFileText(csv), "Image,Unit,XScale,YScale,Calibration,Kind,No,Length(Line),"
                             "Length(Line) judgement\n"
                             ",um,0.200000,0.200000,10x objective,Line,1,10.000,Error\n");
}

TEST_F(PresetCommands, DeleteRemovesOnePresetAndAnUnknownNameWritesNothing) {
    for (const char* name : {"A", "B", "C"})
        ASSERT_EQ(
            RunCliCapturing({"measure", "--calibration", "0,20,20,100,100", "--save-preset", name})
                .status,
            0);
    const CliResult deleted = RunCliCapturing({"presets", "--delete", "B"});
    ASSERT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_EQ(RunCliCapturing({"presets"}).out,
              "A: 0.200000 x 0.200000 um/px\nC: 0.200000 x 0.200000 um/px\n");

    const std::string before = testing::ReadFileText(settingsFile());
    const CliResult unknown = RunCliCapturing({"presets", "--delete", "B"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("there is no calibration preset named 'B'"), std::string::npos)
        << unknown.err;
    EXPECT_EQ(testing::ReadFileText(settingsFile()), before);
    EXPECT_EQ(RunCliCapturing({"presets", "extra"}).status, 2);
    EXPECT_EQ(RunCliCapturing({"presets", "--delete"}).status, 2);
}

} // namespace
} // namespace halvera
