// Runs the processing operations of `halvera-cli apply` as a user would and
// checks the files they write.
#include "CliPictures.h"
#include "CliRunner.h"
#include "ImageFileTestSupport.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvera {
namespace {

using testing::Bytes;
using testing::Pixel;
using testing::PixelOf;
using testing::RunCli;
using testing::TemporaryFolder;

Pixel Grey(uint8_t level) {
    return {level, level, level};
}

class CliProcessing : public ::testing::Test {
protected:
    TemporaryFolder folder;
    const std::string input = folder.file("in.bmp");
    const std::string mask = folder.file("mask.bmp");
    const std::string output = folder.file("out.bmp");
};

TEST_F(CliProcessing, InvertChangesOnlyTheMaskedPixels) {
    testing::WriteBmp24(input, 3, 2, [](int x, int y) {
        return Pixel{uint8_t(10 * x), uint8_t(y), 200};
    });
    testing::WriteBmp24(mask, 3, 2, [](int x, int y) { return Grey(x == 2 && y == 1 ? 255 : 0); });
    ASSERT_EQ(RunCli({"apply", input, output, "invert", "--mask", mask}), 0);
    const Bytes image = testing::ReadFileBytes(output);
    EXPECT_EQ(PixelOf(image, 3, 2, 2, 1), (Pixel{235, 254, 55}));
    EXPECT_EQ(PixelOf(image, 3, 2, 1, 1), (Pixel{10, 1, 200}));
    EXPECT_EQ(PixelOf(image, 3, 2, 2, 0), (Pixel{20, 0, 200}));
}

TEST_F(CliProcessing, BrightnessContrastStretchesAboutTheMeanOfTheUnchangedImage) {
    // Grey levels 100 and 200: mean (100 + 200) / 3 = 100, so contrast 100
    // thresholds at 100; brightness 10 then adds 25.
    testing::WriteBmp24(input, 2, 1, [](int x, int) { return Grey(x == 0 ? 100 : 200); });
    ASSERT_EQ(
        RunCli({"apply", input, output, "brightness-contrast", "brightness=10", "contrast=100"}),
        0);
    const Bytes image = testing::ReadFileBytes(output);
    EXPECT_EQ(PixelOf(image, 2, 1, 0, 0), Grey(25));
    EXPECT_EQ(PixelOf(image, 2, 1, 1, 0), Grey(255));
}

TEST_F(CliProcessing, ColorBalanceAndHueSaturationTakeSliderValues) {
    testing::WriteBmp24(input, 1, 1, [](int, int) { return Pixel{10, 20, 30}; });
    ASSERT_EQ(RunCli({"apply", input, output, "color-balance", "red=100", "blue=-10"}), 0);
    EXPECT_EQ(PixelOf(testing::ReadFileBytes(output), 1, 1, 0, 0), (Pixel{0, 20, 255}));

    testing::WriteBmp24(input, 1, 1, [](int, int) { return Pixel{0, 0, 255}; });
    ASSERT_EQ(RunCli({"apply", input, output, "hue-saturation", "hue=120"}), 0);
    EXPECT_EQ(PixelOf(testing::ReadFileBytes(output), 1, 1, 0, 0), (Pixel{0, 255, 0}));
}

TEST_F(CliProcessing, FiltersReadTheImageAsItWasBeforeTheyRan) {
    testing::WriteBmp24(input, 5, 5, [](int x, int y) { return Grey(x == 2 && y == 2 ? 255 : 0); });
    ASSERT_EQ(RunCli({"apply", input, output, "laplace"}), 0);
    Bytes image = testing::ReadFileBytes(output);
    EXPECT_EQ(PixelOf(image, 5, 5, 2, 2), Grey(0));
    EXPECT_EQ(PixelOf(image, 5, 5, 2, 1), Grey(255));
    EXPECT_EQ(PixelOf(image, 5, 5, 3, 2), Grey(255));

    ASSERT_EQ(RunCli({"apply", input, output, "lowpass"}), 0);
    image = testing::ReadFileBytes(output);
    EXPECT_EQ(PixelOf(image, 5, 5, 2, 2), Grey(51));
    EXPECT_EQ(PixelOf(image, 5, 5, 3, 3), Grey(20));

    ASSERT_EQ(RunCli({"apply", input, output, "edge-downleft"}), 0);
    image = testing::ReadFileBytes(output);
    EXPECT_EQ(PixelOf(image, 5, 5, 1, 1), Grey(255));
    EXPECT_EQ(PixelOf(image, 5, 5, 3, 3), Grey(255));
    EXPECT_EQ(PixelOf(image, 5, 5, 3, 1), Grey(0));
}

TEST_F(CliProcessing, EveryOperationRuns) {
    testing::WriteBmp24(input, 4, 3, [](int x, int y) {
        return Pixel{uint8_t(60 * x), uint8_t(90 * y), 77};
    });
    for (const char* operation :
         {"invert", "grayscale", "brightness-contrast", "color-balance", "hue-saturation",
          "average", "median", "lowpass", "roberts", "sobel", "laplace", "kirsch", "prewitt",
          "edge-horizontal", "edge-vertical", "edge-upright", "edge-downleft"})
        EXPECT_EQ(RunCli({"apply", input, output, operation}), 0) << operation;
}

TEST_F(CliProcessing, ValuesBeyondTheSlidersAndUnknownNamesAreUsageErrors) {
    testing::WriteBmp24(input, 2, 2, [](int, int) { return Grey(9); });
    const std::vector<std::vector<std::string>> wrong = {
        {"sharpen"},
        {"brightness-contrast", "brightness=101"},
        {"brightness-contrast", "contrast=-101"},
        {"color-balance", "green=150"},
        {"hue-saturation", "hue=181"},
        {"hue-saturation", "saturation=-101"},
        {"hue-saturation", "value=5"},
        {"median", "size=3"},
    };
    for (const std::vector<std::string>& words : wrong) {
        std::vector<std::string> line = {"apply", input, output};
        line.insert(line.end(), words.begin(), words.end());
        EXPECT_EQ(RunCli(line), 2) << words.back();
        EXPECT_FALSE(std::filesystem::exists(output)) << words.back();
    }
}

} // namespace
} // namespace halvera
