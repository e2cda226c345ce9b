#include "view/CopySelection.h"

#include "MaskArt.h"
#include "PackedPictures.h"
#include "SyntheticImages.h"
#include "image/ConvertPackedDib.h"
#include "view/CutSelection.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::kWhite;
using testing::MaskFromArt;
using testing::PixelAt;
using testing::Unpacked;

Bgr CopiedColour(int x, int y) {
    return Bgr{uint8_t(40 + x), uint8_t(50 + y), uint8_t(x * 16 + y)};
}

TEST(CopySelection, WithoutARegionTheWholeImageIsCopied) {
    DibBlock image = testing::MakeRgb(5, 3, CopiedColour);
    DibBlock mask = testing::BlankMask(5, 3);
    const PackedDib picture = CopySelection(image.dib(), mask.dib());
    ASSERT_EQ(picture.size(), static_cast<size_t>(image.dib().blockSize));
    EXPECT_EQ(std::memcmp(picture.data(), image.dib().header, picture.size()), 0);
}

TEST(CopySelection, WithARegionTheBoundsArePaddedWithWhite) {
    DibBlock image = testing::MakeRgb(6, 5, CopiedColour);
    DibBlock mask = MaskFromArt({
        "......",
        "..#...",
        ".##.#.",
        "...#..",
        "......",
    });
    const PackedDib picture = CopySelection(image.dib(), mask.dib());
    ASSERT_TRUE(picture);
    EXPECT_EQ(PackedDibDepth(*picture.header()), 24);
    DibBlock copied = Unpacked(picture);
    ASSERT_EQ(copied.width(), 4);
    ASSERT_EQ(copied.height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool selected = testing::ByteAt(mask.dib(), x + 1, y + 1) == 255;
            EXPECT_EQ(PixelAt(copied.dib(), x, y), selected ? CopiedColour(x + 1, y + 1) : kWhite)
                << x << "," << y;
        }
    // The image itself is untouched.
    EXPECT_EQ(PixelAt(image.dib(), 2, 1), CopiedColour(2, 1));
}

TEST(CopySelection, ARegionOfFaintBytesGivesAWhiteImageSizedPicture) {
    DibBlock image = testing::MakeRgb(3, 2, CopiedColour);
    DibBlock mask = testing::MakeGrey(3, 2, [](int, int) { return uint8_t{128}; });
    DibBlock copied = Unpacked(CopySelection(image.dib(), mask.dib()));
    ASSERT_EQ(copied.width(), 3);
    ASSERT_EQ(copied.height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(copied.dib(), x, y), kWhite);
}

TEST(WhitenSelection, WhitensTheSelectedPixelsAndKeepsTheRest) {
    DibBlock image = testing::MakeRgb(4, 3, CopiedColour);
    DibBlock mask = MaskFromArt({"....", ".##.", "..#."});
    WhitenSelection(image.dib(), mask.dib());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool selected = testing::ByteAt(mask.dib(), x, y) == 255;
            EXPECT_EQ(PixelAt(image.dib(), x, y), selected ? kWhite : CopiedColour(x, y));
        }
}

TEST(WhitenSelection, WithoutARegionTheWholeImageTurnsWhite) {
    DibBlock image = testing::MakeRgb(3, 3, CopiedColour);
    DibBlock mask = testing::BlankMask(3, 3);
    WhitenSelection(image.dib(), mask.dib());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(image.dib(), x, y), kWhite);
}

TEST(WhitenSelection, ARegionOfFaintBytesWhitensNothing) {
    DibBlock image = testing::MakeRgb(3, 2, CopiedColour);
    DibBlock original = testing::MakeRgb(3, 2, CopiedColour);
    DibBlock mask = testing::MakeGrey(3, 2, [](int, int) { return uint8_t{7}; });
    WhitenSelection(image.dib(), mask.dib());
    EXPECT_TRUE(testing::SamePixels(image.dib(), original.dib()));
}

} // namespace
} // namespace halvera
