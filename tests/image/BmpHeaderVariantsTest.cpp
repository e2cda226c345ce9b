// BMP header versions and depths beyond the classic ones, in the cases the
// BMP Suite (BmpSuiteTest.cpp) does not hold: OS/2 1.x at 1 bit, masks in
// every header version, 16 and 32 bits without masks and top-down, damaged
// headers.
#include "BmpTestFiles.h"
#include "ReadMessages.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/BmpDecoder.h"
#include "image/BmpFile.h"
#include "image/BmpHeaders.h"
#include "image/ConvertPackedDib.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Bytes;
using testing::PixelAt;

constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;
const ChannelMasks k565{0xF800, 0x07E0, 0x001F};

std::vector<RgbQuad> VariantPalette(size_t count) {
    std::vector<RgbQuad> palette;
    for (size_t i = 0; i < count; ++i)
        palette.push_back({uint8_t(i * 3), uint8_t(255 - i), uint8_t(i ^ 0x55), 0});
    return palette;
}

// 3 x 2 pixels of 16 bits, 5-6-5, bottom row first: white, red, green; blue,
// black, red 1 / green 1 / blue 1.
const std::vector<uint32_t> k565Pixels = {0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0000, 0x0821};

// What k565Pixels show, (x, y) with y = 0 at the top.
Bgr Expected565(int x, int y) {
    const Bgr top[] = {{255, 0, 0}, {0, 0, 0}, {8, 4, 8}};
    const Bgr bottom[] = {{255, 255, 255}, {0, 0, 255}, {0, 255, 0}};
    return y == 0 ? top[x] : bottom[x];
}

class BmpHeaderVariantsTest : public ::testing::Test {
protected:
    PackedDib Read(const Bytes& bytes) {
        const std::string path = folder.file("picture.bmp");
        testing::WriteFileBytes(path, bytes);
        return CBmpFile().ReadPackedDib(path);
    }
    DibBlock ReadImage(const Bytes& bytes) {
        const PackedDib dib = Read(bytes);
        DibBlock image;
        if (!dib)
            return image;
        EXPECT_TRUE(IsReadableDibHeader(*dib.header()));
        if (!CreateRgb(image, dib.header()->biWidth, dib.header()->biHeight) ||
            !ConvertPackedDib(dib, image.dib()))
            image.release();
        return image;
    }
    void Expect565Picture(const Bytes& file, const char* what) {
        const DibBlock image = ReadImage(file);
        ASSERT_EQ(image.width(), 3) << what;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(PixelAt(image.dib(), x, y), Expected565(x, y)) << what << " " << x << y;
    }
    // Expects `file` refused with exactly "Can not read the file!" and, when
    // given, the reason on a second line.
    void ExpectRefused(const Bytes& file, const std::string& reason, const char* what) {
        prompts.messages.clear();
        EXPECT_FALSE(Read(file)) << what;
        const std::string path = folder.file("picture.bmp");
        const std::vector<std::string> texts = prompts.texts();
        ASSERT_EQ(texts.size(), 1u) << what;
        if (reason.empty())
            EXPECT_TRUE(testing::IsCannotReadMessage(texts[0], path)) << what << texts[0];
        else
            EXPECT_EQ(texts[0], testing::CannotReadMessage(path, "unsupported variant: " + reason))
                << what;
        const BmpReading fromMemory = ReadBmpBytes(file.data(), file.size());
        EXPECT_FALSE(fromMemory.picture) << what;
        EXPECT_EQ(fromMemory.refusal, reason) << what;
    }

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST_F(BmpHeaderVariantsTest, Os2CoreHeadersHaveThreeBytePaletteEntries) {
    // 1 bit: two entries; the block gets 4-byte entries with a reserved 0.
    const PackedDib one =
        Read(testing::AssembleBmp(testing::CoreHeaderBytes(9, 1, 1),
                                  testing::PaletteBytes(VariantPalette(2), 3), {0xAA, 0x80, 0, 0}));
    ASSERT_TRUE(one);
    EXPECT_EQ(one.header()->biSize, 40u);
    EXPECT_EQ(one.header()->biBitCount, 1);
    EXPECT_EQ(Bytes(one.data() + 40, one.data() + 48), (Bytes{0, 255, 0x55, 0, 3, 254, 0x54, 0}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(BmpHeaderVariantsTest, BitFieldMasksAfterA40ByteHeaderOrInsideLaterOnes) {
    const Bytes rows = testing::PixelRows(16, 3, k565Pixels);
    Expect565Picture(testing::AssembleBmp(testing::InfoHeaderBytes(40, 3, 2, 16, kBitFields),
                                          testing::MaskBytes(k565), rows),
                     "40 bytes, 3 masks after");
    Expect565Picture(testing::AssembleBmp(testing::InfoHeaderBytes(40, 3, 2, 16, kAlphaBitFields),
                                          testing::MaskBytes(k565, 4), rows),
                     "40 bytes, 4 masks after");
    for (const uint32_t size : {52u, 56u, 108u, 124u})
        Expect565Picture(
            testing::AssembleBmp(testing::InfoHeaderBytes(size, 3, 2, 16, kBitFields, 0, k565), {},
                                 rows),
            "masks inside the header");
    // A palette after the masks is skipped.
    Bytes masksAndPalette = testing::MaskBytes(k565);
    const Bytes palette = testing::PaletteBytes(VariantPalette(16));
    masksAndPalette.insert(masksAndPalette.end(), palette.begin(), palette.end());
    Expect565Picture(testing::AssembleBmp(testing::InfoHeaderBytes(40, 3, 2, 16, kBitFields, 16),
                                          masksAndPalette, rows),
                     "palette after the masks");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(BmpHeaderVariantsTest, SixteenAndThirtyTwoBitsWithoutMasksUseTheDefaultChannels) {
    // 5-5-5, the top bit ignored: white, red 16, then green 31 with the top bit.
    const DibBlock sixteen =
        ReadImage(testing::AssembleBmp(testing::InfoHeaderBytes(40, 3, 1, 16), {},
                                       testing::PixelRows(16, 3, {0x7FFF, 0x4000, 0x83E0})));
    ASSERT_EQ(sixteen.width(), 3);
    EXPECT_EQ(PixelAt(sixteen.dib(), 0, 0), testing::kWhite);
    EXPECT_EQ(PixelAt(sixteen.dib(), 1, 0), (Bgr{0, 0, 132})); // round(16 * 255 / 31)
    EXPECT_EQ(PixelAt(sixteen.dib(), 2, 0), (Bgr{0, 255, 0}));

    // 8-8-8 stored top row first, the top byte ignored.
    const PackedDib thirtyTwo = Read(testing::AssembleBmp(
        testing::InfoHeaderBytes(40, 2, -2, 32), {},
        testing::PixelRows(32, 2, {0xFF010203, 0x00040506, 0x11070809, 0x000A0B0C})));
    ASSERT_TRUE(thirtyTwo);
    EXPECT_EQ(thirtyTwo.header()->biBitCount, 24);
    EXPECT_EQ(thirtyTwo.header()->biHeight, 2);
    EXPECT_EQ(thirtyTwo.header()->biCompression, 0u);
    DibBlock image;
    ASSERT_TRUE(CreateRgb(image, 2, 2));
    ASSERT_TRUE(ConvertPackedDib(thirtyTwo, image.dib()));
    EXPECT_EQ(PixelAt(image.dib(), 0, 0), (Bgr{3, 2, 1}));
    EXPECT_EQ(PixelAt(image.dib(), 1, 0), (Bgr{6, 5, 4}));
    EXPECT_EQ(PixelAt(image.dib(), 0, 1), (Bgr{9, 8, 7}));
    EXPECT_EQ(PixelAt(image.dib(), 1, 1), (Bgr{12, 11, 10}));
    // The converted rows' padding is clear: 2 pixels take 6 of 8 bytes.
    EXPECT_EQ(thirtyTwo.data()[40 + 6], 0);
    EXPECT_EQ(thirtyTwo.data()[40 + 7], 0);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(BmpHeaderVariantsTest, DamagedHeadersAreRefusedWithoutAReason) {
    const Bytes rows = testing::PixelRows(16, 3, k565Pixels);
    ExpectRefused(testing::AssembleBmp(testing::InfoHeaderBytes(40, 3, 2, 16, kBitFields),
                                       testing::MaskBytes({0xF800, 0x0FE0, 0x001F}), rows),
                  "", "overlapping masks");
    ExpectRefused(testing::AssembleBmp(testing::InfoHeaderBytes(44, 3, 2, 16, kBitFields),
                                       testing::MaskBytes(k565), rows),
                  "", "no place for the masks");
    ExpectRefused(testing::AssembleBmp(testing::InfoHeaderBytes(40, 3, 2, 8, kBitFields),
                                       testing::MaskBytes(k565), rows),
                  "", "8-bit bit fields");
    ExpectRefused(testing::AssembleBmp(testing::InfoHeaderBytes(40, 3, 2, 16, 1), {}, rows), "",
                  "RLE8 at 16 bits");
    ExpectRefused(testing::AssembleBmp(testing::InfoHeaderBytes(20, 3, 2, 16), {}, rows), "",
                  "header of 20 bytes");
    ExpectRefused(testing::AssembleBmp(testing::CoreHeaderBytes(0, 2, 8),
                                       testing::PaletteBytes(VariantPalette(256), 3), Bytes(4, 0)),
                  "", "OS/2 width 0");
    ExpectRefused(testing::AssembleBmp(testing::InfoHeaderBytes(40, 3, 2, 16, kBitFields),
                                       testing::MaskBytes(k565),
                                       Bytes(rows.begin(), rows.end() - 1)),
                  "", "rows cut short");
}

TEST_F(BmpHeaderVariantsTest, MemoryAndFileReadersGiveTheSameBlock) {
    const Bytes file =
        testing::AssembleBmp(testing::InfoHeaderBytes(108, 3, 2, 16, kBitFields, 0, k565), {},
                             testing::PixelRows(16, 3, k565Pixels));
    const PackedDib fromFile = Read(file);
    const BmpReading fromMemory = ReadBmpBytes(file.data(), file.size());
    ASSERT_TRUE(fromFile);
    ASSERT_TRUE(fromMemory.picture);
    EXPECT_TRUE(fromMemory.refusal.empty());
    ASSERT_EQ(fromMemory.picture.size(), fromFile.size());
    EXPECT_EQ(std::memcmp(fromMemory.picture.data(), fromFile.data(), fromFile.size()), 0);
    EXPECT_FALSE(ReadBmpBytes(nullptr, 0).picture);
    EXPECT_FALSE(ReadBmpBytes(file.data(), file.size() - 1).picture);
}

} // namespace
} // namespace halvera
