// Runs the warping operations of `halvera-cli apply` as a user would and
// checks the files they write.
#include "CliPictures.h"
#include "CliRunner.h"
#include "ImageFileTestSupport.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvera::testing {
namespace {

// Blue shows the column and green the row of a pixel's origin.
Pixel Origin(int x, int y) {
    return Pixel{uint8_t(10 * x), uint8_t(10 * y), 80};
}

// A mask file: white where `selected`, black elsewhere (the blue byte counts).
void WriteMask(const std::string& path, int width, int height,
               const std::function<bool(int x, int y)>& selected) {
    WriteBmp24(path, width, height, [&](int x, int y) {
        const uint8_t v = selected(x, y) ? 255 : 0;
        return Pixel{v, v, v};
    });
}

// Byte (x, y) of an 8-bit mask file the tool wrote (header, 256-entry palette,
// bottom-up rows of width bytes rounded up to a multiple of 4).
uint8_t MaskByteOf(const Bytes& file, int width, int height, int x, int y) {
    const size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    return file[54 + 1024 + stride * (height - 1 - y) + x];
}

class CliWarping : public ::testing::Test {
protected:
    TemporaryFolder folder;
    const std::string input = folder.file("in.bmp");
    const std::string mask = folder.file("mask.bmp");
    const std::string output = folder.file("out.bmp");
    const std::string maskOut = folder.file("mask-out.bmp");
};

TEST_F(CliWarping, FlipHorizontalMirrorsImageAndMaskTopToBottom) {
    WriteBmp24(input, 5, 4, Origin);
    WriteMask(mask, 5, 4, [](int x, int y) { return x == 1 && y == 0; });
    ASSERT_EQ(
        RunCli({"apply", input, output, "flip-horizontal", "--mask", mask, "--mask-out", maskOut}),
        0);
    const Bytes image = ReadFileBytes(output);
    const Bytes selection = ReadFileBytes(maskOut);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(PixelOf(image, 5, 4, x, y), Origin(x, 3 - y)) << x << "," << y;
            EXPECT_EQ(MaskByteOf(selection, 5, 4, x, y), x == 1 && y == 3 ? 255 : 0);
        }
}

TEST_F(CliWarping, FlipVerticalMirrorsLeftToRight) {
    WriteBmp24(input, 5, 4, Origin);
    ASSERT_EQ(RunCli({"apply", input, output, "flip-vertical"}), 0);
    const Bytes image = ReadFileBytes(output);
    EXPECT_EQ(PixelOf(image, 5, 4, 0, 2), Origin(4, 2));
    EXPECT_EQ(PixelOf(image, 5, 4, 3, 1), Origin(1, 1));
}

TEST_F(CliWarping, ScaleRectToAReversedRectangleMirrors) {
    WriteBmp24(input, 6, 3, Origin);
    ASSERT_EQ(RunCli({"apply", input, output, "scale-rect", "source=0,0,4,1", "dest=4,0,0,1"}), 0);
    const Bytes image = ReadFileBytes(output);
    for (int y = 0; y <= 1; ++y)
        for (int x = 0; x <= 4; ++x)
            EXPECT_EQ(PixelOf(image, 6, 3, x, y), Origin(4 - x, y)) << x << "," << y;
}

TEST_F(CliWarping, WarpQuadCarriesTheSelectionAndWritesTheWarpedMask) {
    WriteBmp24(input, 8, 6, Origin);
    WriteMask(mask, 8, 6, [](int x, int y) { return x >= 1 && x <= 2 && y >= 1 && y <= 2; });
    // The frame around the box (1, 1)-(2, 2) moved onto the box (4, 2)-(5, 3):
    // corners top-right, top-left, bottom-left, bottom-right.
    ASSERT_EQ(RunCli({"apply", input, output, "warp-quad", "source=1,1,2,2", "dest=6,2,4,2,4,4,6,4",
                      "--mask", mask, "--mask-out", maskOut}),
              0);
    const Bytes image = ReadFileBytes(output);
    const Bytes selection = ReadFileBytes(maskOut);
    EXPECT_EQ(PixelOf(image, 8, 6, 4, 2), Origin(1, 1));
    EXPECT_EQ(PixelOf(image, 8, 6, 5, 3), Origin(2, 2));
    EXPECT_EQ(PixelOf(image, 8, 6, 1, 1), Origin(1, 1)); // the old place stays visible
    EXPECT_EQ(PixelOf(image, 8, 6, 6, 3), Origin(6, 3));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(MaskByteOf(selection, 8, 6, x, y),
                      x >= 4 && x <= 5 && y >= 2 && y <= 3 ? 255 : 0)
                << x << "," << y;
}

TEST_F(CliWarping, WarpCellWithShiftedSourcePointsTranslatesTheCell) {
    WriteBmp24(input, 8, 6, Origin);
    ASSERT_EQ(
        RunCli({"apply", input, output, "warp-cell", "rect=1,1,4,3", "source=5,1,2,1,2,3,5,3"}), 0);
    const Bytes image = ReadFileBytes(output);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inCell = x >= 1 && x <= 4 && y >= 1 && y <= 3;
            EXPECT_EQ(PixelOf(image, 8, 6, x, y), inCell ? Origin(x + 1, y) : Origin(x, y))
                << x << "," << y;
        }
}

TEST_F(CliWarping, WrongArgumentsAreUsageErrorsAndWriteNothing) {
    WriteBmp24(input, 8, 6, Origin);
    EXPECT_EQ(RunCli({"apply", input, output, "scale-rect", "source=0,0,8,5", "dest=0,0,3,3"}), 2);
    EXPECT_EQ(RunCli({"apply", input, output, "scale-rect", "source=3,0,2,5", "dest=0,0,3,3"}), 2);
    EXPECT_EQ(RunCli({"apply", input, output, "warp-quad", "source=0,0,7,5", "dest=1,2,3"}), 2);
    EXPECT_EQ(RunCli({"apply", input, output, "warp-cell", "rect=0,0,3,3"}), 2);
    EXPECT_EQ(RunCli({"apply", input, output, "flip-vertical", "angle=3"}), 2);
    EXPECT_TRUE(folder.entries() == std::vector<std::string>{"in.bmp"});
}

} // namespace
} // namespace halvera::testing
