// Where a BMP file's palette and rows lie: biClrUsed, the pixel offset and
// the fallback to the layout the reader always took.
#include "image/BmpLayout.h"

#include "BmpTestFiles.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Bytes;

// Headers of an uncompressed 40-byte-header file, palette from byte 54 on.
BmpHeaders Headers(int depth, uint32_t colours, uint32_t offset, int32_t width = 8,
                   int32_t height = 4) {
    BmpHeaders headers;
    headers.info = testing::PictureHeader(width, height, depth);
    headers.info.biClrUsed = colours;
    headers.pixelOffset = offset;
    headers.paletteStart = 54;
    headers.height = height;
    return headers;
}

std::vector<RgbQuad> LayoutPalette(size_t count) {
    std::vector<RgbQuad> palette;
    for (size_t i = 0; i < count; ++i)
        palette.push_back({uint8_t(10 + i), uint8_t(100 + i), uint8_t(200 - i), 0});
    return palette;
}

TEST(LocateBmpPixels, TakesBiClrUsedEntriesAndTheRowsAtTheOffset) {
    // 8 x 4 at 8 bits: 32 bytes of rows.
    const std::optional<BmpLayout> shortPalette = LocateBmpPixels(Headers(8, 3, 66), 66 + 32);
    ASSERT_TRUE(shortPalette);
    EXPECT_EQ(shortPalette->paletteEntries, 3u);
    EXPECT_EQ(shortPalette->pixelStart, 66u);
    EXPECT_EQ(shortPalette->pixelBytes, 32u);
    EXPECT_FALSE(shortPalette->packedDib);

    const std::optional<BmpLayout> gap = LocateBmpPixels(Headers(8, 3, 100), 100 + 32 + 7);
    ASSERT_TRUE(gap);
    EXPECT_EQ(gap->pixelStart, 100u);

    // A 24-bit file's palette is passed over; its pixels are not indices.
    const std::optional<BmpLayout> colour =
        LocateBmpPixels(Headers(24, 256, 54 + 1024), 54 + 1024 + 96);
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->pixelStart, 54u + 1024);
    EXPECT_FALSE(colour->packedDib);
}

TEST(LocateBmpPixels, FallsBackToRowsRightAfterAFullPalette) {
    // The offset inside the declared palette, at 0, or with rows past the end.
    for (const uint32_t offset : {60u, 0u, 54u + 64 + 1}) {
        const std::optional<BmpLayout> layout =
            LocateBmpPixels(Headers(4, 3, offset), 54 + 64 + 16);
        ASSERT_TRUE(layout) << offset;
        EXPECT_EQ(layout->paletteEntries, 16u) << offset;
        EXPECT_EQ(layout->pixelStart, 54u + 64) << offset;
        EXPECT_TRUE(layout->packedDib) << offset;
    }
    // A count beyond 2^depth means the full palette.
    const std::optional<BmpLayout> oversize =
        LocateBmpPixels(Headers(8, 300, 54 + 1200), 54 + 1200 + 32);
    ASSERT_TRUE(oversize);
    EXPECT_EQ(oversize->paletteEntries, 256u);
    EXPECT_EQ(oversize->pixelStart, 54u + 1200);
    // Neither the offset nor the fallback fits.
    EXPECT_FALSE(LocateBmpPixels(Headers(8, 3, 66), 66 + 31));
    EXPECT_FALSE(LocateBmpPixels(Headers(8, 0, 0), 54 + 1024 + 31));
}

TEST(LocateBmpPixels, OnlyTheClassicLayoutIsTakenAsAPackedDib) {
    // Rows right after a full palette, whatever biClrUsed says.
    EXPECT_TRUE(LocateBmpPixels(Headers(8, 16, 54 + 1024), 54 + 1024 + 32)->packedDib);
    EXPECT_TRUE(LocateBmpPixels(Headers(24, 0, 54), 54 + 96)->packedDib);
    BmpHeaders topDown = Headers(8, 0, 54 + 1024);
    topDown.topDown = true;
    EXPECT_FALSE(LocateBmpPixels(topDown, 54 + 1024 + 32)->packedDib);
    BmpHeaders os2 = Headers(8, 0, 26 + 768);
    os2.info.biSize = 12;
    os2.paletteStart = 26;
    os2.paletteEntrySize = 3;
    EXPECT_FALSE(LocateBmpPixels(os2, 26 + 768 + 32)->packedDib);
    BmpHeaders bitFields = Headers(16, 0, 66);
    bitFields.encoding = BmpEncoding::BitFields;
    bitFields.paletteStart = 66;
    EXPECT_EQ(LocateBmpPixels(bitFields, 66 + 64)->pixelStart, 66u);
    EXPECT_FALSE(LocateBmpPixels(bitFields, 66 + 64)->packedDib);
}

TEST(LocateBmpPixels, RunLengthFilesNeedTheirOffsetAndAPaletteOfAtMost2ToTheDepth) {
    BmpHeaders rle = Headers(8, 5, 54 + 20);
    rle.encoding = BmpEncoding::Rle8;
    const std::optional<BmpLayout> layout = LocateBmpPixels(rle, 54 + 20 + 10);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->pixelBytes, 10u); // to the end of the file
    EXPECT_FALSE(layout->packedDib);
    rle.pixelOffset = 54 + 16;
    EXPECT_FALSE(LocateBmpPixels(rle, 54 + 20 + 10));
    rle.pixelOffset = 54 + 20 + 11;
    EXPECT_FALSE(LocateBmpPixels(rle, 54 + 20 + 10));
    rle.info.biClrUsed = 257;
    rle.pixelOffset = 54 + 1028;
    EXPECT_FALSE(LocateBmpPixels(rle, 54 + 1028 + 10));
}

class BmpPaletteFileTest : public ::testing::Test {
protected:
    DibBlock ReadImage(const Bytes& bytes) {
        const std::string path = folder.file("picture.bmp");
        testing::WriteFileBytes(path, bytes);
        const PackedDib dib = CBmpFile().ReadPackedDib(path);
        DibBlock image;
        if (!dib || !CreateRgb(image, dib.header()->biWidth, dib.header()->biHeight) ||
            !ConvertPackedDib(dib, image.dib()))
            image.release();
        return image;
    }

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST_F(BmpPaletteFileTest, AnIndexPastAShortPaletteShowsBlack) {
    const std::vector<RgbQuad> two = LayoutPalette(2);
    const Bgr first{two[0].blue, two[0].green, two[0].red};
    const Bgr second{two[1].blue, two[1].green, two[1].red};
    // 8 bits: indices 0, 1, 2, 255.
    const DibBlock eight = ReadImage(testing::AssembleBmp(
        testing::InfoHeaderBytes(40, 4, 1, 8, 0, 2), testing::PaletteBytes(two), {0, 1, 2, 255}));
    ASSERT_FALSE(eight.empty());
    EXPECT_EQ(testing::PixelAt(eight.dib(), 0, 0), first);
    EXPECT_EQ(testing::PixelAt(eight.dib(), 1, 0), second);
    EXPECT_EQ(testing::PixelAt(eight.dib(), 2, 0), testing::kBlack);
    EXPECT_EQ(testing::PixelAt(eight.dib(), 3, 0), testing::kBlack);
    // 4 bits: indices 1, 15; 1 bit with one colour: indices 0, 1.
    const DibBlock four = ReadImage(testing::AssembleBmp(
        testing::InfoHeaderBytes(40, 2, 1, 4, 0, 2), testing::PaletteBytes(two), {0x1F, 0, 0, 0}));
    ASSERT_FALSE(four.empty());
    EXPECT_EQ(testing::PixelAt(four.dib(), 0, 0), second);
    EXPECT_EQ(testing::PixelAt(four.dib(), 1, 0), testing::kBlack);
    const DibBlock one =
        ReadImage(testing::AssembleBmp(testing::InfoHeaderBytes(40, 2, 1, 1, 0, 1),
                                       testing::PaletteBytes(LayoutPalette(1)), {0x40, 0, 0, 0}));
    ASSERT_FALSE(one.empty());
    EXPECT_EQ(testing::PixelAt(one.dib(), 0, 0), first);
    EXPECT_EQ(testing::PixelAt(one.dib(), 1, 0), testing::kBlack);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(BmpPaletteFileTest, AFullPaletteBeforeTheRowsIsKeptWholeWhateverBiClrUsedSays) {
    // biClrUsed 2, yet 256 entries and the rows right after them: the block
    // is the file behind its 14-byte header, every entry included.
    const Bytes file = testing::AssembleBmp(testing::InfoHeaderBytes(40, 4, 1, 8, 0, 2),
                                            testing::PaletteBytes(LayoutPalette(256)), {0, 1, 200, 255});
    const std::string path = folder.file("full.bmp");
    testing::WriteFileBytes(path, file);
    const PackedDib dib = CBmpFile().ReadPackedDib(path);
    ASSERT_TRUE(dib);
    ASSERT_EQ(dib.size(), file.size() - 14);
    EXPECT_EQ(std::memcmp(dib.data(), file.data() + 14, dib.size()), 0);
}

} // namespace
} // namespace halvera
