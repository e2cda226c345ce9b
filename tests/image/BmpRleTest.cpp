// Run-length encoded and top-down BMP files: each is read into the same
// uncompressed, bottom-up packed DIB a plain file gives.
#include "image/BmpRle.h"

#include "ImageFileTestSupport.h"
#include "ReadMessages.h"
#include "RecordingPrompts.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bytes;

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;

// `colours` distinct palette entries.
std::vector<RgbQuad> Palette(size_t colours) {
    std::vector<RgbQuad> palette;
    for (size_t i = 0; i < colours; ++i)
        palette.push_back(RgbQuad{uint8_t(i * 9), uint8_t(200 - i), uint8_t(i * 3 + 1), 0});
    return palette;
}

// A BMP file of the given header fields whose pixel data follows a palette
// of exactly `palette.size()` entries (biClrUsed says how many), as
// ImageMagick writes them.
Bytes FileWithData(int width, int height, int depth, uint32_t compression,
                   const std::vector<RgbQuad>& palette, const Bytes& data) {
    BitmapInfoHeader header = testing::PictureHeader(width, height, depth);
    header.biCompression = compression;
    header.biClrUsed = static_cast<uint32_t>(palette.size());
    header.biSizeImage = static_cast<uint32_t>(data.size());
    return testing::ImageFileBytes(testing::PackedDibBytes(header, palette, data), palette.size());
}

// Palette index of pixel (x, y), y = 0 at the top, of a packed DIB the reader gave.
int IndexAt(const PackedDib& dib, int x, int y) {
    const BitmapInfoHeader& header = *dib.header();
    const int depth = header.biBitCount;
    const size_t stride = static_cast<size_t>(DibStride(header.biWidth, depth));
    const uint8_t* row = dib.data() + kHeaderSize + (size_t{1} << depth) * 4 +
                         stride * static_cast<size_t>(header.biHeight - 1 - y);
    if (depth == 8)
        return row[x];
    return (x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4;
}

// The indices of every pixel, rows top first.
std::vector<std::vector<int>> Indices(const PackedDib& dib) {
    std::vector<std::vector<int>> rows;
    for (int y = 0; y < dib.header()->biHeight; ++y) {
        rows.emplace_back();
        for (int x = 0; x < dib.header()->biWidth; ++x)
            rows.back().push_back(IndexAt(dib, x, y));
    }
    return rows;
}

class BmpRleTest : public ::testing::Test {
protected:
    PackedDib Read(const Bytes& bytes) {
        const std::string path = folder.file("picture.bmp");
        testing::WriteFileBytes(path, bytes);
        return CBmpFile().ReadPackedDib(path);
    }
    void ExpectRefused(const Bytes& bytes, const char* what) {
        prompts.messages.clear();
        EXPECT_FALSE(Read(bytes)) << what;
        ASSERT_EQ(prompts.messages.size(), 1u) << what;
        EXPECT_TRUE(
            testing::IsCannotReadMessage(prompts.messages[0].text, folder.file("picture.bmp")))
            << what << ": " << prompts.messages[0].text;
    }

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST_F(BmpRleTest, Rle8RunsLiteralsDeltasAndEndCodesFillAnOddWidth) {
    // 5 x 4, rows from the bottom up. Row 0: a run of 3 and two runs of 1
    // (a literal needs 3 pixels at least). Row 1: a literal of 3 (padded), a run of 2.
    // End of line; a delta then skips 2 right in row 2 (x 2..4 set, x 0..1
    // stay index 0); end of line; row 3: a run of 5; end of line and end of
    // picture.
    const Bytes data = {3, 7,  1, 1, 1, 2, 0, 0,       // row 0
                        0, 3,  4, 5, 6, 0, 2, 8, 0, 0, // row 1
                        0, 2,  2, 0, 3, 9, 0, 0,       // delta, row 2
                        5, 10, 0, 0, 0, 1};            // row 3, end
    const PackedDib dib = Read(FileWithData(5, 4, 8, kRle8, Palette(11), data));
    ASSERT_TRUE(dib) << ::testing::PrintToString(prompts.texts());
    EXPECT_EQ(dib.header()->biCompression, 0u);
    EXPECT_EQ(dib.header()->biClrUsed, 0u);
    EXPECT_TRUE(IsReadableDibHeader(*dib.header()));
    EXPECT_EQ(Indices(dib),
              (std::vector<std::vector<int>>{
                  {10, 10, 10, 10, 10}, {0, 0, 9, 9, 9}, {4, 5, 6, 8, 8}, {7, 7, 7, 1, 2}}));
    // The palette of 11 colours leads a full one of 256, the rest black.
    const auto* palette = reinterpret_cast<const RgbQuad*>(dib.data() + kHeaderSize);
    EXPECT_EQ(palette[10].blue, Palette(11)[10].blue);
    EXPECT_EQ(palette[11].green, 0);
    EXPECT_EQ(dib.size(), size_t(kHeaderSize + 1024 + 8 * 4));
    EXPECT_TRUE(prompts.messages.empty());

    // A delta up: from the bottom left 1 right and 2 up, a run of 2 there.
    const PackedDib moved =
        Read(FileWithData(3, 3, 8, kRle8, Palette(6), {0, 2, 1, 2, 2, 5, 0, 1}));
    ASSERT_TRUE(moved);
    EXPECT_EQ(Indices(moved), (std::vector<std::vector<int>>{{0, 5, 5}, {0, 0, 0}, {0, 0, 0}}));
}

TEST_F(BmpRleTest, Rle4RunsAlternateTheirTwoIndicesAndLiteralsPadToWords) {
    // 7 x 2. Row 0: a run of 5 alternating 1 and 2, then a run of 2 of 3, 4.
    // Row 1: a literal of 7 nibbles (4 bytes, already even), end of picture
    // right after the last pixel, without an end of line.
    const Bytes data = {5, 0x12, 2, 0x34, 0, 0, 0, 7, 0x56, 0x78, 0x9A, 0xB0, 0, 1};
    const PackedDib dib = Read(FileWithData(7, 2, 4, kRle4, Palette(16), data));
    ASSERT_TRUE(dib);
    EXPECT_EQ(Indices(dib),
              (std::vector<std::vector<int>>{{5, 6, 7, 8, 9, 10, 11}, {1, 2, 1, 2, 1, 3, 4}}));

    // A literal of 3 nibbles takes 2 bytes, already a whole word; one of 5
    // takes 3 bytes and a pad byte.
    const Bytes odd = {0, 3, 0x12, 0x30, 0, 0, 0, 5, 0x45, 0x67, 0x80, 0xFF, 0, 1};
    const PackedDib padded = Read(FileWithData(5, 2, 4, kRle4, Palette(16), odd));
    ASSERT_TRUE(padded);
    EXPECT_EQ(Indices(padded), (std::vector<std::vector<int>>{{4, 5, 6, 7, 8}, {1, 2, 3, 0, 0}}));
}

TEST_F(BmpRleTest, RunsLiteralsAndDeltasThatLeaveThePictureAreRefused) {
    // Rows of 5 pixels are stored in 8 bytes at 8 bits, 4 bytes (8 pixels) at 4 bits.
    const auto palette = Palette(4);
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {9, 1, 0, 1}), "run past the row");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {5, 1, 4, 1, 0, 1}),
                  "second run past the row");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1}),
                  "literal past the row");
    ExpectRefused(FileWithData(5, 2, 4, kRle4, Palette(16), {9, 0x11, 0, 1}),
                  "4-bit run past the row");
    ExpectRefused(FileWithData(13, 1, 8, kRle8, palette, {17, 1, 0, 1}), "run past 16 bytes");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {0, 2, 6, 0, 0, 1}), "delta right");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {0, 2, 0, 2, 0, 1}), "delta up");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {0, 0, 0, 0, 1, 1, 0, 1}),
                  "pixels above the top row");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {5, 1, 0, 0, 5, 1}),
                  "no end-of-picture code");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {0, 4, 1, 1}), "literal cut short");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, palette, {0, 2, 1}), "delta cut short");
    ExpectRefused(FileWithData(5, 2, 8, kRle4, palette, {0, 1}), "RLE4 on an 8-bit file");
    ExpectRefused(FileWithData(5, -2, 8, kRle8, palette, {0, 1}), "top-down RLE");
    ExpectRefused(FileWithData(5, 2, 8, kRle8, Palette(257), {0, 1}), "palette too long");
    // A pixel offset outside the file.
    Bytes file = FileWithData(5, 2, 8, kRle8, palette, {0, 1});
    testing::PutLittle32At(file, 10, static_cast<uint32_t>(file.size() + 1));
    ExpectRefused(file, "pixel offset past the end");
    testing::PutLittle32At(file, 10, 20);
    ExpectRefused(file, "pixel offset inside the header");
}

TEST_F(BmpRleTest, RunsIntoTheRowPaddingAreReadAndTheirPixelsDropped) {
    // As ImageMagick writes a 5-pixel row: a run over the row, one over the
    // 3 padding pixels, end of line. At 4 bits a row of 5 holds 8 pixels.
    const Bytes data = {5, 2, 3, 0, 0, 0, 4, 1, 0, 4, 3, 1, 2, 1, 0, 0, 0, 1};
    const PackedDib dib = Read(FileWithData(5, 2, 8, kRle8, Palette(4), data));
    ASSERT_TRUE(dib);
    EXPECT_EQ(Indices(dib), (std::vector<std::vector<int>>{{1, 1, 1, 1, 3}, {2, 2, 2, 2, 2}}));
    // The padding of the packed DIB stays clear.
    const uint8_t* bottom = dib.data() + kHeaderSize + 1024;
    EXPECT_EQ(Bytes(bottom + 5, bottom + 8), Bytes(3, 0));

    const PackedDib fourBit =
        Read(FileWithData(5, 1, 4, kRle4, Palette(16), {8, 0x9A, 0, 0, 0, 1}));
    ASSERT_TRUE(fourBit);
    EXPECT_EQ(Indices(fourBit), (std::vector<std::vector<int>>{{9, 10, 9, 10, 9}}));
}

TEST_F(BmpRleTest, TheDecoderWritesNothingOutsideItsRows) {
    // Rows of 3 pixels at 8 bits in a 4-byte stride, with a guard row above.
    Bytes rows(4 * 3, 0xEE);
    std::memset(rows.data(), 0, 8);
    EXPECT_FALSE(DecodeBmpRle(Bytes{0, 2, 3, 1, 2, 1}.data(), 6, 8, 3, 2, rows.data(), 4));
    EXPECT_TRUE(
        DecodeBmpRle(Bytes{3, 1, 0, 0, 3, 2, 0, 0, 0, 1}.data(), 10, 8, 3, 2, rows.data(), 4));
    EXPECT_EQ(Bytes(rows.begin() + 8, rows.end()), Bytes(4, 0xEE));
    EXPECT_EQ(rows[3], 0); // row padding untouched
}

TEST_F(BmpRleTest, TopDownFilesAreTurnedBottomUp) {
    // An 8-bit 3 x 3 file stored top row first, with a short palette.
    const Bytes topDownRows = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0};
    const PackedDib dib = Read(FileWithData(3, -3, 8, 0, Palette(10), topDownRows));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.header()->biHeight, 3);
    EXPECT_EQ(Indices(dib), (std::vector<std::vector<int>>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));

    // A 24-bit 2 x 2 one: the top row holds the first two pixels of the file.
    const Bytes colourRows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const PackedDib colour = Read(FileWithData(2, -2, 24, 0, {}, colourRows));
    ASSERT_TRUE(colour);
    DibBlock image;
    ASSERT_TRUE(CreateRgb(image, 2, 2));
    ASSERT_TRUE(ConvertPackedDib(colour, image.dib()));
    EXPECT_EQ(image.dib().row(0)[0], 1);
    EXPECT_EQ(image.dib().row(0)[5], 6);
    EXPECT_EQ(image.dib().row(1)[0], 7);

    ExpectRefused(FileWithData(3, -3, 8, 0, Palette(10), Bytes(11, 0)), "rows cut short");
    ExpectRefused(FileWithData(3, -30001, 8, 0, Palette(10), Bytes(12, 0)), "too high");
    ExpectRefused(FileWithData(3, INT32_MIN, 8, 0, Palette(10), Bytes(12, 0)), "lowest height");
}

} // namespace
} // namespace halvera
