// Runs the annotation operations of `halvera-cli apply` as a user would and
// checks the pictures they write.
#include "CliPictures.h"
#include "CliRunner.h"
#include "ImageFileTestSupport.h"

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

constexpr Pixel kWhite{255, 255, 255};
// color=10,20,30 is red 10, green 20, blue 30: stored blue first.
constexpr Pixel kInk{30, 20, 10};
const std::string kColour = "color=10,20,30";

// A white picture of width x height in a temporary folder, the tool's output
// beside it.
class AnnotationCli : public ::testing::Test {
protected:
    void SetUp() override { makeInput(20, 16); }

    void makeInput(int width, int height, const testing::PixelPattern& colour = nullptr) {
        width_ = width;
        height_ = height;
        testing::WriteBmp24(
            input_, width, height, colour ? colour : [](int, int) { return kWhite; });
    }

    int apply(std::vector<std::string> words) {
        words.insert(words.begin(), {"apply", input_, output_});
        return RunCli(words);
    }

    Pixel at(int x, int y) const {
        return PixelOf(testing::ReadFileBytes(output_), width_, height_, x, y);
    }

    int countInk() const {
        const Bytes file = testing::ReadFileBytes(output_);
        int count = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                count += PixelOf(file, width_, height_, x, y) == kInk;
        return count;
    }

    TemporaryFolder folder_;
    std::string input_ = folder_.file("in.bmp");
    std::string output_ = folder_.file("out.bmp");
    std::string mask_ = folder_.file("mask.bmp");
    int width_ = 0;
    int height_ = 0;
};

TEST_F(AnnotationCli, PencilStrokesFromPointToPointInTheGivenColour) {
    ASSERT_EQ(apply({"pencil", "size=1", kColour, "points=0,0;5,2;5,6"}), 0);
    // Bresenham from (0, 0) to (5, 2), then straight down to (5, 6).
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {5, 3}, {5, 6}})
        EXPECT_EQ(at(x, y), kInk) << x << "," << y;
    EXPECT_EQ(countInk(), 10);
}

TEST_F(AnnotationCli, ShapesHonourTheMaskAndCoordinatesMayLieOutside) {
    // Selected: the left half.
    testing::WriteBmp24(mask_, 20, 16, [](int x, int) {
        return x < 10 ? Pixel{255, 255, 255} : Pixel{0, 0, 0};
    });
    ASSERT_EQ(apply({"filled-rectangle", kColour, "rect=-50,4,500,5", "--mask", mask_}), 0);
    EXPECT_EQ(at(0, 4), kInk);
    EXPECT_EQ(at(9, 5), kInk);
    EXPECT_EQ(at(10, 4), kWhite);
    EXPECT_EQ(at(0, 3), kWhite);
    EXPECT_EQ(countInk(), 20);

    ASSERT_EQ(apply({"filled-ellipse", kColour, "rect=-10,-10,9,9"}), 0);
    EXPECT_EQ(at(0, 0), kInk);
    EXPECT_EQ(at(19, 15), kWhite);
}

TEST_F(AnnotationCli, OutlinesWithTheBrush) {
    ASSERT_EQ(apply({"rectangle", "size=1", kColour, "rect=2,2,6,5"}), 0);
    EXPECT_EQ(countInk(), 2 * 5 + 2 * 2);
    EXPECT_EQ(at(2, 2), kInk);
    EXPECT_EQ(at(4, 4), kWhite);

    ASSERT_EQ(apply({"polygon", "size=1", kColour, "points=1,1;8,1;1,8"}), 0);
    EXPECT_EQ(at(8, 1), kInk);
    EXPECT_EQ(at(1, 8), kInk);
    EXPECT_EQ(at(3, 3), kWhite);

    // One vertex paints nothing.
    ASSERT_EQ(apply({"polygon", "size=5", kColour, "points=4,4"}), 0);
    EXPECT_EQ(countInk(), 0);
}

TEST_F(AnnotationCli, FillTakesTheConnectedPieceWithinTheTolerance) {
    // Left half grey 200, right half grey 90.
    makeInput(20, 16, [](int x, int) { return x < 10 ? Pixel{200, 200, 200} : Pixel{90, 90, 90}; });
    ASSERT_EQ(apply({"fill", "at=3,3", kColour, "tolerance=100"}), 0);
    EXPECT_EQ(countInk(), 160);
    ASSERT_EQ(apply({"fill", "at=3,3", kColour, "tolerance=0"}), 0);
    EXPECT_EQ(countInk(), 160);
    // A seed of the fill colour changes nothing.
    makeInput(20, 16, [](int, int) { return kInk; });
    ASSERT_EQ(apply({"fill", "at=3,3", kColour, "tolerance=100"}), 0);
    EXPECT_EQ(countInk(), 320);
}

TEST_F(AnnotationCli, ArrowAndRulerSign) {
    makeInput(120, 60);
    ASSERT_EQ(apply({"arrow", "at=30,30", "size=10", "turn=4", kColour}), 0);
    // Turned by half a turn the arrow points to +x: its shaft lies left of the tip.
    EXPECT_EQ(at(12, 30), kInk);
    EXPECT_EQ(at(48, 30), kWhite);

    // 20 pixels per unit: 5 units, 100 pixels, from x = 5 on row 50.
    ASSERT_EQ(apply({"ruler-sign", "at=5,50", kColour, "calibration=1,1,1,20,20"}), 0);
    EXPECT_EQ(at(5, 50), kInk);
    EXPECT_EQ(at(105, 50), kInk);
    EXPECT_EQ(at(106, 50), kWhite);
    EXPECT_EQ(at(5, 45), kInk);
    // Without its own calibration the ruler follows the one in force.
    ASSERT_EQ(apply({"ruler-sign", "at=5,50", kColour, "--calibration", "1,1,1,20,20"}), 0);
    EXPECT_EQ(at(105, 50), kInk);
    EXPECT_EQ(at(106, 50), kWhite);

    // 5 units of 30 pixels are wider than the image: nothing is drawn.
    ASSERT_EQ(apply({"ruler-sign", "at=5,50", kColour, "calibration=0,1,1,30,30"}), 0);
    EXPECT_EQ(countInk(), 0);
}

TEST_F(AnnotationCli, TextIsDrawnInsideItsBoxWhateverTheMask) {
    makeInput(100, 40);
    // One selected pixel far away from the text.
    testing::WriteBmp24(mask_, 100, 40, [](int x, int y) {
        return x == 99 && y == 39 ? Pixel{255, 255, 255} : Pixel{0, 0, 0};
    });
    ASSERT_EQ(apply({"text", "at=10,5", "text=HV", kColour, "--mask", mask_}), 0);
    const int painted = countInk();
    EXPECT_GT(painted, 20);
    const Bytes file = testing::ReadFileBytes(output_);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            if (PixelOf(file, 100, 40, x, y) == kInk) {
                EXPECT_GE(x, 10);
                EXPECT_GE(y, 5);
                EXPECT_LT(y, 5 + 30);
            }
}

TEST_F(AnnotationCli, WrongValuesAreUsageErrors) {
    const std::vector<std::vector<std::string>> wrong{
        {"pencil", "size=0", kColour, "points=1,1"},
        {"pencil", "size=101", kColour, "points=1,1"},
        {"pencil", "size=3", kColour, "points=1,1;2"},
        {"pencil", "size=3", kColour, "points="},
        {"line", "size=3", "color=1,2", "from=0,0", "to=3,3"},
        {"line", "size=3", "color=1,2,256", "from=0,0", "to=3,3"},
        {"arrow", "at=3,3", "size=7", "turn=0", kColour},
        {"arrow", "at=3,3", "size=101", "turn=0", kColour},
        {"fill", "at=3,3", kColour, "tolerance=101"},
        {"ruler-sign", "at=3,3", kColour, "calibration=5,1,1,20,20"},
        {"ruler-sign", "at=3,3", kColour, "calibration=0,0,1,20,20"},
        {"ruler-sign", "at=3,3", kColour, "calibration=0,1,1,20"},
        {"rectangle", "size=2", kColour, "rect=1,2,3"},
    };
    for (const auto& words : wrong) {
        EXPECT_EQ(apply(words), 2) << words[0] << " " << words[1];
    }
}

} // namespace
} // namespace halvera
