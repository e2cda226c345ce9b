// The batch tool reads and writes PNG and TIFF files and RLE BMP files like
// the desktop program, and prints a 16-bit picture's stretch with its messages.
#include "CliPictures.h"
#include "CliRunner.h"
#include "PictureEncoders.h"
#include "image/PictureFiles.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::CliResult;
using testing::RunCliCapturing;

testing::Pixel FormatPattern(int x, int y) {
    return {uint8_t(x * 9), uint8_t(200 - y * 7), uint8_t(x * y)};
}

class PictureFormatsCli : public ::testing::Test {
protected:
    testing::TemporaryFolder folder;
};

TEST_F(PictureFormatsCli, ConvertGoesThroughPngAndTiffAndBackUnchanged) {
    const std::string input = folder.file("in.bmp");
    testing::WriteBmp24(input, 23, 6, FormatPattern);
    for (const std::string middle : {"mid.png", "mid.TIF", "mid.tiff"}) {
        SCOPED_TRACE(middle);
        const std::string through = folder.file(middle);
        const std::string back = folder.file("back.bmp");
        CliResult result = RunCliCapturing({"convert", input, through});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        result = RunCliCapturing({"convert", through, back});
        ASSERT_EQ(result.status, 0) << result.err;
        const testing::Bytes file = testing::ReadFileBytes(back);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 23; ++x)
                ASSERT_EQ(testing::PixelOf(file, 23, 6, x, y), FormatPattern(x, y)) << x << "," << y;
    }
    const CliResult inverted =
        RunCliCapturing({"apply", input, folder.file("inverted.png"), "invert"});
    EXPECT_EQ(inverted.status, 0) << inverted.err;
    EXPECT_TRUE(std::filesystem::exists(folder.file("inverted.png")));
}

TEST_F(PictureFormatsCli, SixteenBitInputsSayHowTheyWereStretched) {
    testing::TestPicture deep;
    deep.width = 2;
    deep.height = 1;
    deep.bits = 16;
    deep.samples = {300, 900};
    const std::string input = folder.file("deep.png");
    ASSERT_TRUE(testing::WritePngFile(input, deep));

    CliResult result = RunCliCapturing({"info", input});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "width=2 height=1 depth=8\n");
    EXPECT_EQ(result.err, input + ": 16-bit picture shown stretched from 300..900\n");

    const std::string output = folder.file("deep.bmp");
    result = RunCliCapturing({"convert", input, output});
    ASSERT_EQ(result.status, 0) << result.err;
    const testing::Bytes file = testing::ReadFileBytes(output);
    EXPECT_EQ(testing::PixelOf(file, 2, 1, 0, 0), (testing::Pixel{0, 0, 0}));
    EXPECT_EQ(testing::PixelOf(file, 2, 1, 1, 0), (testing::Pixel{255, 255, 255}));
}

TEST_F(PictureFormatsCli, DamagedInputsAndUnknownOutputNamesFail) {
    const std::string damaged = folder.file("damaged.tif");
    testing::WriteFileBytes(damaged, testing::Bytes(40, 'I'));
    CliResult result = RunCliCapturing({"convert", damaged, folder.file("out.png")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Can not read the file!\n" + damaged + ": not a TIFF picture\n");

    const std::string input = folder.file("in.bmp");
    testing::WriteBmp24(input, 4, 4, FormatPattern);
    result = RunCliCapturing({"convert", input, folder.file("out.gif")});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("must end in .bmp, .jpg, .jpeg, .png, .tif or .tiff"),
              std::string::npos);
}

// The five-letter endings and any letter case are picture names for input
// and output alike.
TEST_F(PictureFormatsCli, JpegAndTiffNamesInAnyCaseAreReadAndWritten) {
    const std::string input = folder.file("in.bmp");
    testing::WriteBmp24(input, 9, 5, FormatPattern);
    for (const std::string name : {"a.jpeg", "b.JPEG", "c.JpG", "d.Tiff", "e.TIF", "f.tIfF"}) {
        SCOPED_TRACE(name);
        const std::string through = folder.file(name);
        CliResult result = RunCliCapturing({"convert", input, through, "--quality", "100"});
        ASSERT_EQ(result.status, 0) << result.err;
        result = RunCliCapturing({"info", through});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, "width=9 height=5 depth=24\n");
        const std::string back = folder.file("back.bmp");
        result = RunCliCapturing({"apply", through, back, "none"});
        ASSERT_EQ(result.status, 0) << result.err;
        const testing::Bytes file = testing::ReadFileBytes(back);
        const bool lossless = PictureFileTypeOf(name) == PictureFileType::Tiff;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) {
                const testing::Pixel got = testing::PixelOf(file, 9, 5, x, y);
                const testing::Pixel want = FormatPattern(x, y);
                if (lossless)
                    ASSERT_EQ(got, want) << x << "," << y;
                else
                    for (size_t c = 0; c < 3; ++c)
                        ASSERT_LE(std::abs(got[c] - want[c]), 24) << x << "," << y << "," << c;
            }
    }
}

// An output that holds more than one 8-bit picture is kept unless --force:
// the run fails before reading its input and the file stays byte for byte.
TEST_F(PictureFormatsCli, RicherOutputFilesAreKeptUnlessForced) {
    const std::string input = folder.file("in.bmp");
    testing::WriteBmp24(input, 7, 5, FormatPattern);
    const std::string pages = folder.file("stack.tif");
    ASSERT_TRUE(testing::WriteTiffFile(
        pages, testing::PatternPicture(4, 3, testing::TestColours::Rgb, 8), {.pages = 3}));
    const std::string deep = folder.file("deep.png");
    ASSERT_TRUE(
        testing::WritePngFile(deep, testing::PatternPicture(4, 3, testing::TestColours::Grey, 16)));
    const testing::Bytes pagesBefore = testing::ReadFileBytes(pages);
    const testing::Bytes deepBefore = testing::ReadFileBytes(deep);

    CliResult result = RunCliCapturing({"convert", input, pages});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, pages + ": The file holds more than this picture (3 pages); saving "
                                  "replaces it. Give --force to save anyway.\n");
    result = RunCliCapturing({"apply", folder.file("missing.bmp"), deep, "invert"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, deep + ": The file holds more than this picture (16-bit samples); "
                                 "saving replaces it. Give --force to save anyway.\n")
        << "refused before the input is read";
    result = RunCliCapturing({"apply", input, folder.file("out.bmp"), "none", "--mask-out", pages});
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.bmp")));
    EXPECT_EQ(testing::ReadFileBytes(pages), pagesBefore);
    EXPECT_EQ(testing::ReadFileBytes(deep), deepBefore);

    result = RunCliCapturing({"convert", input, pages, "--force"});
    ASSERT_EQ(result.status, 0) << result.err;
    result = RunCliCapturing({"apply", input, deep, "none", "--force"});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const std::string& written : {pages, deep}) {
        result = RunCliCapturing({"info", written});
        EXPECT_EQ(result.out, "width=7 height=5 depth=24\n") << written;
        EXPECT_EQ(result.err, "") << written << ": one 8-bit picture now";
    }
    result = RunCliCapturing({"convert", input, pages});
    EXPECT_EQ(result.status, 0) << "an 8-bit single page is replaced without --force";
}

TEST_F(PictureFormatsCli, ForceIsDocumentedAndRefusedWhereNothingIsWritten) {
    CliResult result = RunCliCapturing({"--help"});
    EXPECT_NE(result.out.find("--calibration-from-image] [--force]\n"), std::string::npos);
    EXPECT_NE(result.out.find("--force replaces an output picture file"), std::string::npos);
    const std::string input = folder.file("in.bmp");
    testing::WriteBmp24(input, 2, 2, FormatPattern);
    result = RunCliCapturing({"info", input, "--force"});
    EXPECT_EQ(result.status, 2);
    result = RunCliCapturing({"video-sources", "--force"});
    EXPECT_EQ(result.status, 2);
}

} // namespace
} // namespace halvera
