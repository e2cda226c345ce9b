// Runs `halvera-cli apply IN OUT crop` as a user would and checks the files.
#include "CliRunner.h"
#include "ImageFileTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvera {
namespace {

using testing::Bytes;
using testing::RunCli;
using testing::TemporaryFolder;

// A 24-bit BMP file of width x height whose pixel (x, y), y = 0 at the top, has
// blue byte blue(x, y), green 40 and red 80.
Bytes Bmp24(int width, int height, const std::function<uint8_t(int x, int y)>& blue) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    Bytes rows(stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = rows.data() + stride * (height - 1 - y) + 3 * x;
            p[0] = blue(x, y);
            p[1] = 40;
            p[2] = 80;
        }
    return testing::ImageFileBytes(
        testing::PackedDibBytes(testing::PictureHeader(width, height, 24), {}, rows), 0);
}

// Pixel (x, y) of a 24-bit BMP file written by the tool: blue, green, red.
std::array<uint8_t, 3> PixelOf(const Bytes& file, int width, int height, int x, int y) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const uint8_t* p = file.data() + 54 + stride * (height - 1 - y) + 3 * x;
    return {p[0], p[1], p[2]};
}

uint8_t Shade(int x, int y) {
    return static_cast<uint8_t>(10 * x + y);
}

TEST(CliCrop, WhitensOutsideTheMask) {
    TemporaryFolder folder;
    const std::string input = folder.file("in.bmp");
    const std::string mask = folder.file("mask.bmp");
    const std::string output = folder.file("out.bmp");
    testing::WriteFileBytes(input, Bmp24(5, 4, Shade));
    // Selected: the 2 x 2 square at (1, 1), whose mask byte is 255.
    testing::WriteFileBytes(mask, Bmp24(5, 4, [](int x, int y) {
                                return uint8_t(x >= 1 && x <= 2 && y >= 1 && y <= 2 ? 255 : 0);
                            }));
    ASSERT_EQ(RunCli({"apply", input, output, "crop", "--mask", mask}), 0);
    const Bytes written = testing::ReadFileBytes(output);
    ASSERT_EQ(written.size(), 54u + 16 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool selected = x >= 1 && x <= 2 && y >= 1 && y <= 2;
            const std::array<uint8_t, 3> expected =
                selected ? std::array<uint8_t, 3>{Shade(x, y), 40, 80}
                         : std::array<uint8_t, 3>{255, 255, 255};
            EXPECT_EQ(PixelOf(written, 5, 4, x, y), expected) << x << "," << y;
        }
}

TEST(CliCrop, WithoutARegionTheImageIsWrittenUnchanged) {
    TemporaryFolder folder;
    const std::string input = folder.file("in.bmp");
    const std::string output = folder.file("out.bmp");
    const std::string emptyMask = folder.file("mask.bmp");
    testing::WriteFileBytes(input, Bmp24(3, 2, Shade));
    testing::WriteFileBytes(emptyMask, Bmp24(3, 2, [](int, int) { return uint8_t{0}; }));
    ASSERT_EQ(RunCli({"apply", input, output, "crop", "--mask", emptyMask}), 0);
    EXPECT_EQ(testing::ReadFileBytes(output), testing::ReadFileBytes(input));
    ASSERT_EQ(RunCli({"apply", input, output, "crop"}), 0);
    EXPECT_EQ(testing::ReadFileBytes(output), testing::ReadFileBytes(input));
}

TEST(CliCrop, AMaskOfFaintBytesSelectsNothingSoAllTurnsWhite) {
    TemporaryFolder folder;
    const std::string input = folder.file("in.bmp");
    const std::string mask = folder.file("mask.bmp");
    const std::string output = folder.file("out.bmp");
    testing::WriteFileBytes(input, Bmp24(3, 2, Shade));
    testing::WriteFileBytes(mask, Bmp24(3, 2, [](int x, int) { return uint8_t(100 + x); }));
    ASSERT_EQ(RunCli({"apply", input, output, "crop", "--mask", mask}), 0);
    const Bytes written = testing::ReadFileBytes(output);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelOf(written, 3, 2, x, y), (std::array<uint8_t, 3>{255, 255, 255}));
}

TEST(CliCrop, TakesNoArguments) {
    TemporaryFolder folder;
    const std::string input = folder.file("in.bmp");
    testing::WriteFileBytes(input, Bmp24(2, 2, Shade));
    EXPECT_EQ(RunCli({"apply", input, folder.file("out.bmp"), "crop", "level=3"}), 2);
}

} // namespace
} // namespace halvera
