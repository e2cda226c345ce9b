#include "view/PasteImage.h"

#include "MaskArt.h"
#include "SyntheticImages.h"
#include "view/CopySelection.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::MaskFromArt;
using testing::PixelAt;

constexpr Bgr kGrey{100, 100, 100};

Bgr PastedColour(int x, int y) {
    return Bgr{uint8_t(1 + x), uint8_t(2 + y), uint8_t(3 + x + y)};
}

// An 8-bit packed DIB whose pixel (x, y), y = 0 at the top, is palette index
// x + width * y, and whose palette entry i is (blue i, green 2i, red 255 - i).
PackedDib IndexedPicture(int width, int height) {
    const auto stride = static_cast<size_t>(DibStride(width, 8));
    PackedDib picture = PackedDib::Allocate(kHeaderSize + kGreyPaletteSize + stride * height);
    BitmapInfoHeader header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = 8;
    std::memcpy(picture.data(), &header, sizeof header);
    auto* palette = reinterpret_cast<RgbQuad*>(picture.data() + kHeaderSize);
    for (int i = 0; i < 256; ++i)
        palette[i] = RgbQuad{uint8_t(i), uint8_t(2 * i), uint8_t(255 - i), 0};
    uint8_t* rows = picture.data() + kHeaderSize + kGreyPaletteSize;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[(height - 1 - y) * stride + x] = uint8_t(x + width * y);
    return picture;
}

Bgr PaletteColour(int index) {
    return Bgr{uint8_t(index), uint8_t(2 * index), uint8_t(255 - index)};
}

TEST(LoadPasteImage, ADepth8PictureIsExpandedThroughItsPalette) {
    DibBlock paste;
    ASSERT_TRUE(LoadPasteImage(IndexedPicture(3, 2), paste));
    ASSERT_EQ(paste.width(), 3);
    ASSERT_EQ(paste.height(), 2);
    EXPECT_EQ(paste.dib().bitCount(), 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(paste.dib(), x, y), PaletteColour(x + 3 * y));
}

TEST(LoadPasteImage, ACopiedPictureComesBackUnchanged) {
    DibBlock image = testing::MakeRgb(5, 4, PastedColour);
    DibBlock noRegion = testing::BlankMask(5, 4);
    DibBlock paste;
    ASSERT_TRUE(LoadPasteImage(CopySelection(image.dib(), noRegion.dib()), paste));
    EXPECT_TRUE(testing::SamePixels(paste.dib(), image.dib()));
}

TEST(LoadPasteImage, RefusesWhatPackedDibDepthRefusesAndShortBlocks) {
    DibBlock paste;
    ASSERT_TRUE(LoadPasteImage(IndexedPicture(2, 2), paste));

    PackedDib compressed = IndexedPicture(2, 2);
    compressed.header()->biCompression = 1;
    EXPECT_FALSE(LoadPasteImage(compressed, paste));
    EXPECT_TRUE(paste.empty());

    PackedDib sixteenBits = IndexedPicture(2, 2);
    sixteenBits.header()->biBitCount = 16;
    EXPECT_FALSE(LoadPasteImage(sixteenBits, paste));

    PackedDib tooWide = IndexedPicture(2, 2);
    tooWide.header()->biWidth = 30001;
    EXPECT_FALSE(LoadPasteImage(tooWide, paste));

    PackedDib topDown = IndexedPicture(2, 2);
    topDown.header()->biHeight = -2;
    EXPECT_FALSE(LoadPasteImage(topDown, paste));

    PackedDib truncated = PackedDib::Allocate(kHeaderSize + 16);
    std::memcpy(truncated.data(), IndexedPicture(2, 2).data(), kHeaderSize);
    EXPECT_FALSE(LoadPasteImage(truncated, paste));

    EXPECT_FALSE(LoadPasteImage(PackedDib::Allocate(12), paste));
    EXPECT_FALSE(LoadPasteImage(PackedDib{}, paste));
}

TEST(PastePosition, IsTheSelectionsTopLeftCornerOrTheOrigin) {
    DibBlock mask = MaskFromArt({".....", "...#.", "..#..", "....."});
    EXPECT_EQ(PastePosition(mask.dib()), (PixelPoint{2, 1}));
    DibBlock none = testing::BlankMask(5, 4);
    EXPECT_EQ(PastePosition(none.dib()), (PixelPoint{0, 0}));
    DibBlock faint = testing::MakeGrey(5, 4, [](int, int) { return uint8_t{9}; });
    EXPECT_EQ(PastePosition(faint.dib()), (PixelPoint{0, 0}));
}

TEST(PasteImage, WithASelectionItLandsAtItsCornerAndOnlyInsideIt) {
    DibBlock image = testing::MakeUniformRgb(6, 5, kGrey);
    DibBlock paste = testing::MakeRgb(3, 3, PastedColour);
    DibBlock mask = MaskFromArt({
        "......",
        "..##..",
        "..#...",
        "...##.",
        "......",
    });
    const PixelPoint at = PastePosition(mask.dib());
    ASSERT_EQ(at, (PixelPoint{2, 1}));
    PasteImage(image.dib(), paste.dib(), mask.dib(), at);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool selected = testing::ByteAt(mask.dib(), x, y) == 255;
            // (4, 3) is selected but lies beyond the 3 x 3 paste image.
            const bool covered = x >= 2 && x < 5 && y >= 1 && y < 4;
            EXPECT_EQ(PixelAt(image.dib(), x, y),
                      selected && covered ? PastedColour(x - 2, y - 1) : kGrey)
                << x << "," << y;
        }
}

TEST(PasteImage, WithoutASelectionItIsClippedToTheImage) {
    DibBlock image = testing::MakeUniformRgb(5, 3, kGrey); // 15 bytes in a row of 16
    DibBlock paste = testing::MakeRgb(3, 3, PastedColour);
    DibBlock mask = testing::BlankMask(5, 3);
    PasteImage(image.dib(), paste.dib(), mask.dib(), {3, -1});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool covered = x >= 3 && y < 2;
            EXPECT_EQ(PixelAt(image.dib(), x, y), covered ? PastedColour(x - 3, y + 1) : kGrey)
                << x << "," << y;
        }
    EXPECT_EQ(image.dib().row(0)[15], 0xCD) << "row padding written";
}

TEST(PasteImage, FarAwayPositionsChangeNothing) {
    DibBlock image = testing::MakeUniformRgb(4, 3, kGrey);
    DibBlock before = testing::MakeUniformRgb(4, 3, kGrey);
    DibBlock paste = testing::MakeRgb(3, 3, PastedColour);
    DibBlock mask = testing::BlankMask(4, 3);
    for (PixelPoint at : {PixelPoint{4, 0}, PixelPoint{-3, 0}, PixelPoint{0, 3},
                          PixelPoint{INT32_MAX, INT32_MAX}, PixelPoint{INT32_MIN, 0}})
        PasteImage(image.dib(), paste.dib(), mask.dib(), at);
    EXPECT_TRUE(testing::SamePixels(image.dib(), before.dib()));
}

TEST(PasteImage, ARegionOfFaintBytesLetsNothingThrough) {
    DibBlock image = testing::MakeUniformRgb(3, 3, kGrey);
    DibBlock before = testing::MakeUniformRgb(3, 3, kGrey);
    DibBlock paste = testing::MakeRgb(3, 3, PastedColour);
    DibBlock mask = testing::MakeGrey(3, 3, [](int x, int y) { return uint8_t(1 + 50 * x + y); });
    PasteImage(image.dib(), paste.dib(), mask.dib(), PastePosition(mask.dib()));
    EXPECT_TRUE(testing::SamePixels(image.dib(), before.dib()));
}

} // namespace
} // namespace halvera
