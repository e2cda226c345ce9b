#include "image/ConvertPackedDib.h"

#include "ImageFileTestSupport.h"
#include "SyntheticImages.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Bytes;

PackedDib ToPackedDib(const Bytes& bytes) {
    PackedDib dib = PackedDib::Allocate(bytes.size());
    std::memcpy(dib.data(), bytes.data(), bytes.size());
    return dib;
}

// A palette of 2^depth colours that is far from a grey ramp: every channel differs.
std::vector<RgbQuad> ColourfulPalette(int depth) {
    std::vector<RgbQuad> palette(size_t{1} << depth);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] =
            RgbQuad{static_cast<uint8_t>(255 - i), static_cast<uint8_t>((i * 37 + 11) % 256),
                    static_cast<uint8_t>(i ^ 0x5A), 0};
    return palette;
}

Bgr ColourOf(const RgbQuad& entry) {
    return Bgr{entry.blue, entry.green, entry.red};
}

int PatternIndex(int x, int y, int depth) {
    return (x * 7 + y * 3 + x / 5) % (1 << depth);
}

DibBlock MakeTarget(int width, int height) {
    return testing::MakeUniformRgb(width, height, Bgr{1, 2, 3});
}

void ExpectPalettePixels(const CDibImage& image, const std::vector<RgbQuad>& palette, int depth) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(testing::PixelAt(image, x, y), ColourOf(palette[PatternIndex(x, y, depth)]))
                << "depth " << depth << " width " << image.width() << " at " << x << "," << y;
}

TEST(ConvertPackedDib, IndexedRowsUseTheirOwnStrideAndThePalettesColours) {
    for (const int depth : {1, 4, 8}) {
        for (const int width : {9, 12, 40, 101}) {
            const int height = 5;
            const auto palette = ColourfulPalette(depth);
            const Bytes rows = testing::PackIndexedRows(
                width, height, depth, [depth](int x, int y) { return PatternIndex(x, y, depth); });
            const PackedDib dib = ToPackedDib(testing::PackedDibBytes(
                testing::PictureHeader(width, height, depth), palette, rows));
            DibBlock image = MakeTarget(width, height);
            ASSERT_TRUE(ConvertPackedDib(dib, image.dib()));
            ExpectPalettePixels(image.dib(), palette, depth);
        }
    }
}

TEST(ConvertPackedDib, OneBitRowsTakeTheMostSignificantBitFirst) {
    // Width 9: a stride of 4 bytes; column 8 comes from bit 7 of the second byte.
    const std::vector<RgbQuad> palette = {{10, 20, 30, 0}, {200, 100, 50, 0}};
    Bytes rows = {0b1000'0001, 0b1000'0000, 0, 0,  // bottom row
                  0b0100'0000, 0b0000'0000, 0, 0}; // top row
    const PackedDib dib =
        ToPackedDib(testing::PackedDibBytes(testing::PictureHeader(9, 2, 1), palette, rows));
    DibBlock image = MakeTarget(9, 2);
    ASSERT_TRUE(ConvertPackedDib(dib, image.dib()));
    const Bgr off = ColourOf(palette[0]), on = ColourOf(palette[1]);
    EXPECT_EQ(testing::PixelAt(image.dib(), 0, 1), on);
    EXPECT_EQ(testing::PixelAt(image.dib(), 1, 1), off);
    EXPECT_EQ(testing::PixelAt(image.dib(), 7, 1), on);
    EXPECT_EQ(testing::PixelAt(image.dib(), 8, 1), on);
    EXPECT_EQ(testing::PixelAt(image.dib(), 1, 0), on);
    EXPECT_EQ(testing::PixelAt(image.dib(), 8, 0), off);
}

TEST(ConvertPackedDib, FourBitRowsTakeTheHighNibbleFirst) {
    const auto palette = ColourfulPalette(4);
    const Bytes rows = {0x1F, 0x70, 0, 0}; // pixels 1, 15, 7
    const PackedDib dib =
        ToPackedDib(testing::PackedDibBytes(testing::PictureHeader(3, 1, 4), palette, rows));
    DibBlock image = MakeTarget(3, 1);
    ASSERT_TRUE(ConvertPackedDib(dib, image.dib()));
    EXPECT_EQ(testing::PixelAt(image.dib(), 0, 0), ColourOf(palette[1]));
    EXPECT_EQ(testing::PixelAt(image.dib(), 1, 0), ColourOf(palette[15]));
    EXPECT_EQ(testing::PixelAt(image.dib(), 2, 0), ColourOf(palette[7]));
}

TEST(ConvertPackedDib, IndexedDepthsClearTheTargetsPadding) {
    const Bytes rows = testing::PackIndexedRows(5, 3, 8, [](int x, int) { return x; });
    const PackedDib dib = ToPackedDib(
        testing::PackedDibBytes(testing::PictureHeader(5, 3, 8), ColourfulPalette(8), rows));
    DibBlock image = MakeTarget(5, 3); // padding 0xCD
    ASSERT_TRUE(ConvertPackedDib(dib, image.dib()));
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(image.dib().row(y)[15], 0);
}

TEST(ConvertPackedDib, TwentyFourBitPicturesAreCopiedWholePaddingIncluded) {
    for (const int width : {9, 12, 40, 101}) {
        const int height = 4;
        const size_t stride = ((static_cast<size_t>(width) * 3 + 3) / 4) * 4;
        Bytes rows(stride * height);
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i] = static_cast<uint8_t>(i * 13 + 7);
        const PackedDib dib = ToPackedDib(
            testing::PackedDibBytes(testing::PictureHeader(width, height, 24), {}, rows));
        DibBlock image = MakeTarget(width, height);
        ASSERT_EQ(static_cast<size_t>(image.dib().stride), stride);
        ASSERT_TRUE(ConvertPackedDib(dib, image.dib()));
        EXPECT_EQ(std::memcmp(image.dib().bits, rows.data(), rows.size()), 0) << "width " << width;
        // Bottom-up: the first bytes of the block are the bottom image row.
        EXPECT_EQ(testing::PixelAt(image.dib(), 0, height - 1), (Bgr{rows[0], rows[1], rows[2]}));
    }
}

TEST(ConvertPackedDib, RefusesShortBlocksAndMismatchedTargetsWithoutTouchingThem) {
    const auto palette = ColourfulPalette(8);
    const Bytes rows = testing::PackIndexedRows(6, 4, 8, [](int x, int y) { return x + y; });
    Bytes whole = testing::PackedDibBytes(testing::PictureHeader(6, 4, 8), palette, rows);

    const Bytes oneByteShort(whole.begin(), whole.end() - 1);
    DibBlock image = MakeTarget(6, 4);
    const DibBlock untouched = MakeTarget(6, 4);
    EXPECT_FALSE(ConvertPackedDib(ToPackedDib(oneByteShort), image.dib()));
    EXPECT_EQ(std::memcmp(image.dib().header, untouched.dib().header, image.dib().blockSize), 0);

    // A palette of 16 entries (biClrUsed 16) leaves the block short of a full palette.
    BitmapInfoHeader shortPalette = testing::PictureHeader(6, 4, 8);
    shortPalette.biClrUsed = 16;
    const Bytes fewColours = testing::PackedDibBytes(
        shortPalette, std::vector<RgbQuad>(palette.begin(), palette.begin() + 16), rows);
    EXPECT_FALSE(ConvertPackedDib(ToPackedDib(fewColours), image.dib()));

    const Bytes headerOnly(whole.begin(), whole.begin() + 20);
    EXPECT_FALSE(ConvertPackedDib(ToPackedDib(headerOnly), image.dib()));
    EXPECT_FALSE(ConvertPackedDib(PackedDib{}, image.dib()));

    DibBlock otherSize = MakeTarget(4, 6);
    EXPECT_FALSE(ConvertPackedDib(ToPackedDib(whole), otherSize.dib()));
    DibBlock plane = testing::MakeGrey(6, 4, [](int, int) { return 0; });
    EXPECT_FALSE(ConvertPackedDib(ToPackedDib(whole), plane.dib()));
    EXPECT_FALSE(ConvertPackedDib(ToPackedDib(whole), CDibImage{}));
    EXPECT_EQ(std::memcmp(image.dib().header, untouched.dib().header, image.dib().blockSize), 0);

    EXPECT_TRUE(ConvertPackedDib(ToPackedDib(whole), image.dib()));
}

TEST(PackedDibDepth, AcceptsUncompressedPicturesOfOneTo30000PixelsASide) {
    EXPECT_EQ(PackedDibDepth(testing::PictureHeader(30000, 30000, 24)), 24);
    EXPECT_EQ(PackedDibDepth(testing::PictureHeader(1, 1, 1)), 1);
    EXPECT_EQ(PackedDibDepth(testing::PictureHeader(30001, 1, 8)), -1);
    EXPECT_EQ(PackedDibDepth(testing::PictureHeader(1, 30001, 8)), -1);
    EXPECT_EQ(PackedDibDepth(testing::PictureHeader(0, 5, 8)), -1);
    EXPECT_EQ(PackedDibDepth(testing::PictureHeader(5, -5, 8)), -1); // top-down rows
    BitmapInfoHeader compressed = testing::PictureHeader(5, 5, 8);
    compressed.biCompression = 1;
    EXPECT_EQ(PackedDibDepth(compressed), -1);
    // The depth itself is for the caller to judge.
    EXPECT_EQ(PackedDibDepth(testing::PictureHeader(5, 5, 16)), 16);
    EXPECT_FALSE(IsReadableDibHeader(testing::PictureHeader(5, 5, 16)));
    EXPECT_FALSE(IsReadableDibHeader(testing::PictureHeader(5, 5, 32)));
}

TEST(PackedDibRequiredSize, CountsAFullPaletteAndPaddedRows) {
    EXPECT_EQ(PackedDibRequiredSize(testing::PictureHeader(9, 3, 1)), 40 + 8 + 4 * 3);
    EXPECT_EQ(PackedDibRequiredSize(testing::PictureHeader(9, 3, 4)), 40 + 64 + 8 * 3);
    EXPECT_EQ(PackedDibRequiredSize(testing::PictureHeader(9, 3, 8)), 40 + 1024 + 12 * 3);
    EXPECT_EQ(PackedDibRequiredSize(testing::PictureHeader(101, 3, 24)), 40 + 304 * 3);
    // The largest picture does not overflow 32 bits' worth of arithmetic.
    EXPECT_EQ(PackedDibRequiredSize(testing::PictureHeader(30000, 30000, 24)),
              40 + int64_t{90000} * 30000);
    EXPECT_EQ(PackedDibRequiredSize(testing::PictureHeader(30001, 30000, 24)), -1);
}

} // namespace
} // namespace halvera
