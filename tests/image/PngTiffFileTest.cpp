// PNG and TIFF files: pictures written by libpng and libtiff themselves are
// read exactly, 16-bit ones stretched; our own files read back bit-exact.
#include "ImageFileTestSupport.h"
#include "PictureEncoders.h"
#include "ReadMessages.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/ConvertPackedDib.h"
#include "image/PictureFiles.h"
#include "image/PngFile.h"
#include "image/TiffFile.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <tiffio.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::TestColours;
using testing::TestPicture;


// One of the two formats, with the library writer that makes its test files.
struct Format {
    const char* name;
    const char* extension;
    std::function<bool(const std::string&, const TestPicture&)> writeWithLibrary;
    std::function<PictureFromFile(const std::string&)> read;
    std::function<bool(const std::string&, const CDibImage&)> write;
};

std::ostream& operator<<(std::ostream& out, const Format& format) {
    return out << format.name;
}

const Format kPng{"PNG", ".png",
                  [](const std::string& path, const TestPicture& picture) {
                      return testing::WritePngFile(path, picture);
                  },
                  [](const std::string& path) { return CPngFile().ReadPicture(path); },
                  [](const std::string& path, const CDibImage& image) {
                      return CPngFile().Write(path, image);
                  }};
const Format kTiff{"TIFF", ".tif",
                   [](const std::string& path, const TestPicture& picture) {
                       return testing::WriteTiffFile(path, picture);
                   },
                   [](const std::string& path) { return CTiffFile().ReadPicture(path); },
                   [](const std::string& path, const CDibImage& image) {
                       return CTiffFile().Write(path, image);
                   }};

// The colour the program shows for pixel (x, y) of `picture`: grey levels
// of b bits scaled by 255 / (2^b - 1) and rounded, palette colours as they
// are, 16-bit samples stretched from the picture's smallest to its largest
// colour sample onto 0..255 with rounding; alpha is ignored.
Bgr ExpectedColour(const TestPicture& picture, int x, int y, bool minIsWhite = false) {
    const bool rgb = picture.colours == TestColours::Rgb || picture.colours == TestColours::Rgba;
    const int colourChannels = rgb ? 3 : 1;
    auto sample = [&](int c) -> unsigned {
        const unsigned v = picture.sample(x, y, c);
        const unsigned top = picture.bits == 16 ? 0xFFFF : (1u << picture.bits) - 1;
        return minIsWhite ? top - v : v;
    };
    if (picture.colours == TestColours::Palette) {
        const auto& colour = picture.palette[sample(0)];
        return Bgr{colour[2], colour[1], colour[0]};
    }
    std::function<uint8_t(unsigned)> level;
    if (picture.bits == 16) {
        unsigned low = 0xFFFF, high = 0;
        for (int py = 0; py < picture.height; ++py)
            for (int px = 0; px < picture.width; ++px)
                for (int c = 0; c < colourChannels; ++c) {
                    unsigned v = picture.sample(px, py, c);
                    v = minIsWhite ? 0xFFFF - v : v;
                    low = std::min(low, v);
                    high = std::max(high, v);
                }
        level = [=](unsigned v) {
            return static_cast<uint8_t>(((v - low) * 255 + (high - low) / 2) / (high - low));
        };
    } else {
        const unsigned top = (1u << picture.bits) - 1;
        level = [=](unsigned v) {
            return static_cast<uint8_t>((v * 255 + top / 2) / top);
        };
    }
    if (!rgb) {
        const uint8_t grey = level(sample(0));
        return Bgr{grey, grey, grey};
    }
    return Bgr{level(sample(2)), level(sample(1)), level(sample(0))};
}

DibBlock ToRgb(const PackedDib& picture) {
    DibBlock image;
    EXPECT_TRUE(CreateRgb(image, picture.header()->biWidth, picture.header()->biHeight));
    EXPECT_TRUE(ConvertPackedDib(picture, image.dib()));
    return image;
}

// Counts the pixels of `read` that differ from what `picture` should show.
int WrongPixels(const PackedDib& read, const TestPicture& picture, bool minIsWhite = false) {
    if (!read || read.header()->biWidth != picture.width ||
        read.header()->biHeight != picture.height)
        return -1;
    DibBlock image = ToRgb(read);
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            wrong +=
                testing::PixelAt(image.dib(), x, y) != ExpectedColour(picture, x, y, minIsWhite);
    return wrong;
}

class PngTiffFileTest : public ::testing::TestWithParam<Format> {
protected:
    std::string path(const std::string& stem) const {
        return folder.file(stem + GetParam().extension);
    }

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST_P(PngTiffFileTest, ReadsGreyPaletteAndRgbPicturesExactlyAtEveryDepth) {
    struct Case {
        TestColours colours;
        int bits;
    };
    const Case cases[] = {
        {TestColours::Grey, 1},    {TestColours::Grey, 2},      {TestColours::Grey, 4},
        {TestColours::Grey, 8},    {TestColours::Grey, 16},     {TestColours::Palette, 1},
        {TestColours::Palette, 4}, {TestColours::Palette, 8},   {TestColours::Rgb, 8},
        {TestColours::Rgb, 16},    {TestColours::GreyAlpha, 8}, {TestColours::GreyAlpha, 16},
        {TestColours::Rgba, 8},    {TestColours::Rgba, 16}};
    for (const Case& c : cases) {
        const std::string what =
            "colours " + std::to_string(int(c.colours)) + ", " + std::to_string(c.bits) + " bits";
        // An odd width, so packed rows end inside a byte.
        const TestPicture picture = testing::PatternPicture(13, 5, c.colours, c.bits);
        const std::string file = path("picture");
        ASSERT_TRUE(GetParam().writeWithLibrary(file, picture)) << what;
        const PictureFromFile read = GetParam().read(file);
        EXPECT_EQ(WrongPixels(read.picture, picture), 0) << what;
        EXPECT_EQ(read.note.empty(), c.bits != 16) << what;
    }
    EXPECT_TRUE(prompts.messages.empty()) << ::testing::PrintToString(prompts.texts());
}

TEST_P(PngTiffFileTest, SixteenBitsAreStretchedFromTheirActualRangeAndSaySo) {
    TestPicture picture;
    picture.width = 3;
    picture.height = 1;
    picture.bits = 16;
    picture.samples = {1000, 2000, 3000};
    ASSERT_TRUE(GetParam().writeWithLibrary(path("grey"), picture));
    PictureFromFile read = GetParam().read(path("grey"));
    ASSERT_TRUE(read.picture);
    DibBlock image = ToRgb(read.picture);
    EXPECT_EQ(testing::PixelAt(image.dib(), 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(testing::PixelAt(image.dib(), 1, 0), (Bgr{128, 128, 128})); // 127.5 rounds up
    EXPECT_EQ(testing::PixelAt(image.dib(), 2, 0), (Bgr{255, 255, 255}));
    EXPECT_EQ(read.note, "16-bit picture shown stretched from 1000..3000");

    // RGB is stretched over all three channels at once, keeping the balance.
    picture.colours = TestColours::Rgb;
    picture.samples = {4000, 500, 500, 500, 500, 2250};
    picture.width = 2;
    ASSERT_TRUE(GetParam().writeWithLibrary(path("colour"), picture));
    read = GetParam().read(path("colour"));
    ASSERT_TRUE(read.picture);
    image = ToRgb(read.picture);
    EXPECT_EQ(testing::PixelAt(image.dib(), 0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(testing::PixelAt(image.dib(), 1, 0), (Bgr{128, 0, 0}));
    EXPECT_EQ(read.note, "16-bit picture shown stretched from 500..4000");

    // A picture of one level has no range of its own: 0..65535 is used.
    picture.colours = TestColours::Grey;
    picture.samples = {30000, 30000};
    ASSERT_TRUE(GetParam().writeWithLibrary(path("flat"), picture));
    read = GetParam().read(path("flat"));
    ASSERT_TRUE(read.picture);
    EXPECT_EQ(testing::PixelAt(ToRgb(read.picture).dib(), 1, 0), (Bgr{117, 117, 117}));
    EXPECT_EQ(read.note, "16-bit picture shown stretched from 0..65535");
}

TEST_P(PngTiffFileTest, WrittenPicturesReadBackBitExact) {
    DibBlock image = testing::MakeRgb(101, 7, [](int x, int y) {
        return Bgr{uint8_t(x * 2 + y), uint8_t(255 - x), uint8_t(x ^ y * 5)};
    });
    const std::string file = path("written");
    ASSERT_TRUE(GetParam().write(file, image.dib()));
    const PictureFromFile read = GetParam().read(file);
    ASSERT_TRUE(read.picture);
    EXPECT_EQ(read.picture.header()->biBitCount, 24);
    EXPECT_TRUE(read.note.empty());
    EXPECT_TRUE(testing::SamePixels(ToRgb(read.picture).dib(), image.dib()));
    EXPECT_TRUE(prompts.messages.empty());
    // Only the finished file is left: no temporary beside it.
    EXPECT_EQ(folder.entries().size(), 1u);
}

TEST_P(PngTiffFileTest, DamagedMissingAndUnwritableFilesAreReported) {
    const TestPicture picture = testing::PatternPicture(40, 30, TestColours::Rgb, 8);
    const std::string file = path("whole");
    ASSERT_TRUE(GetParam().writeWithLibrary(file, picture));
    const testing::Bytes whole = testing::ReadFileBytes(file);
    const testing::Bytes cuts[] = {
        testing::Bytes(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)),
        testing::Bytes(whole.begin(), whole.begin() + 8), testing::Bytes{},
        testing::Bytes(64, 'x')};
    for (const testing::Bytes& bytes : cuts) {
        prompts.messages.clear();
        testing::WriteFileBytes(path("damaged"), bytes);
        EXPECT_FALSE(GetParam().read(path("damaged")).picture) << bytes.size() << " bytes";
        ASSERT_EQ(prompts.messages.size(), 1u) << bytes.size();
        EXPECT_TRUE(testing::IsCannotReadMessage(prompts.messages[0].text, path("damaged")))
            << prompts.messages[0].text;
    }
    prompts.messages.clear();
    EXPECT_FALSE(GetParam().read(path("absent")).picture);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{testing::CannotReadMessage(
                                   path("absent"), "there is no such file")});

    prompts.messages.clear();
    DibBlock image = testing::MakeUniformRgb(4, 4, Bgr{1, 2, 3});
    EXPECT_FALSE(
        GetParam().write(folder.file("missing/picture") + GetParam().extension, image.dib()));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{testing::kCannotSaveFile});
    EXPECT_FALSE(GetParam().write(path("none"), CDibImage{})); // no image: no message
    EXPECT_EQ(prompts.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Formats, PngTiffFileTest, ::testing::Values(kPng, kTiff),
                         [](const auto& info) { return std::string(info.param.name); });

class TiffVariantsTest : public ::testing::Test {
protected:
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST_F(TiffVariantsTest, WhiteIsZeroTilesDeflateAndEightBitColourMapsAreRead) {
    for (const int bits : {1, 8, 16}) {
        const TestPicture grey = testing::PatternPicture(11, 4, TestColours::Grey, bits);
        ASSERT_TRUE(testing::WriteTiffFile(folder.file("white.tif"), grey, {.minIsWhite = true}));
        EXPECT_EQ(
            WrongPixels(CTiffFile().ReadPicture(folder.file("white.tif")).picture, grey, true), 0)
            << bits << " bits, white is zero";
    }
    for (const int bits : {8, 16}) {
        // 20 x 19 in 16 x 16 tiles: the right and lower tiles reach past the picture.
        const TestPicture colour = testing::PatternPicture(20, 19, TestColours::Rgb, bits);
        ASSERT_TRUE(testing::WriteTiffFile(folder.file("tiled.tif"), colour, {.tiled = true}));
        EXPECT_EQ(WrongPixels(CTiffFile().ReadPicture(folder.file("tiled.tif")).picture, colour), 0)
            << bits << " bits, tiled";
    }
    const TestPicture grey4 = testing::PatternPicture(37, 18, TestColours::Grey, 4);
    ASSERT_TRUE(testing::WriteTiffFile(folder.file("tiled4.tif"), grey4, {.tiled = true}));
    EXPECT_EQ(WrongPixels(CTiffFile().ReadPicture(folder.file("tiled4.tif")).picture, grey4), 0);

    const TestPicture deflated = testing::PatternPicture(30, 9, TestColours::Rgb, 8);
    ASSERT_TRUE(testing::WriteTiffFile(folder.file("deflate.tif"), deflated, {.deflate = true}));
    EXPECT_EQ(WrongPixels(CTiffFile().ReadPicture(folder.file("deflate.tif")).picture, deflated),
              0);

    const TestPicture palette = testing::PatternPicture(9, 3, TestColours::Palette, 8);
    ASSERT_TRUE(
        testing::WriteTiffFile(folder.file("map.tif"), palette, {.eightBitColourMap = true}));
    EXPECT_EQ(WrongPixels(CTiffFile().ReadPicture(folder.file("map.tif")).picture, palette), 0);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TiffVariantsTest, OnlyTheFirstPageIsReadAndOtherSampleKindsAreRefused) {
    const std::string path = folder.file("pages.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tiff, nullptr);
    for (const int page : {0, 1}) {
        const int width = page == 0 ? 3 : 5;
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        uint8_t row[5] = {10, 20, 30, 40, 50};
        TIFFWriteScanline(tiff, row, 0, 0);
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
    const PictureFromFile read = CTiffFile().ReadPicture(path);
    ASSERT_TRUE(read.picture);
    EXPECT_EQ(read.picture.header()->biWidth, 3);

    const std::string floats = folder.file("float.tif");
    tiff = TIFFOpen(floats.c_str(), "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 2);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 32);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    float values[2] = {0.5f, 1.0f};
    TIFFWriteScanline(tiff, values, 0, 0);
    TIFFClose(tiff);
    EXPECT_FALSE(CTiffFile().ReadPicture(floats).picture);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{testing::CannotReadMessage(
                                   floats, "unsupported variant: floating-point samples")});
}

TEST(PngVariants, InterlacedPicturesAreReadWhole) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    for (const int bits : {2, 8, 16}) {
        const TestPicture picture = testing::PatternPicture(19, 11, TestColours::Grey, bits);
        ASSERT_TRUE(testing::WritePngFile(folder.file("laced.png"), picture, true));
        EXPECT_EQ(WrongPixels(CPngFile().ReadPicture(folder.file("laced.png")).picture, picture), 0)
            << bits << " bits";
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(PictureFileTypes, EndingsSelectTheReaderInAnyCase) {
    EXPECT_EQ(PictureFileTypeOf("a/cells.PnG"), PictureFileType::Png);
    EXPECT_EQ(PictureFileTypeOf("cells.tif"), PictureFileType::Tiff);
    EXPECT_EQ(PictureFileTypeOf("cells.TIFF"), PictureFileType::Tiff);
    EXPECT_EQ(PictureFileTypeOf("cells.TiFf"), PictureFileType::Tiff);
    EXPECT_EQ(PictureFileTypeOf("cells.bmp"), PictureFileType::Bmp);
    EXPECT_EQ(PictureFileTypeOf("cells.jpeg"), PictureFileType::Jpeg);
    EXPECT_EQ(PictureFileTypeOf("cells.gif"), PictureFileType::None);
    EXPECT_EQ(PictureFileTypeOf("cells.ptiff.x"), PictureFileType::None);
    EXPECT_EQ(PictureFileTypeOf("tiff"), PictureFileType::None);

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    TestPicture picture = testing::PatternPicture(4, 4, TestColours::Grey, 16);
    ASSERT_TRUE(testing::WriteTiffFile(folder.file("deep.TIFF"), picture));
    const PictureFromFile opened = OpenPictureFile(folder.file("deep.TIFF"));
    EXPECT_TRUE(opened.picture);
    EXPECT_TRUE(opened.note.starts_with("16-bit picture shown stretched from "));
}

} // namespace
} // namespace halvera
