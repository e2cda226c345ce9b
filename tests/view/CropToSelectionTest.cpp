#include "view/CropToSelection.h"

#include "MaskArt.h"
#include "SyntheticImages.h"
#include "view/ClearSelection.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::kWhite;
using testing::MaskFromArt;
using testing::PixelAt;

Bgr CropColour(int x, int y) {
    return Bgr{uint8_t(10 + x), uint8_t(20 + y), uint8_t(30 + x * y)};
}

TEST(CropToSelection, WhitensEverythingOutsideTheSelection) {
    DibBlock image = testing::MakeRgb(4, 3, CropColour);
    DibBlock mask = MaskFromArt({"....", ".##.", "..#."});
    ASSERT_TRUE(CropToSelection(image.dib(), mask.dib()));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool selected = testing::ByteAt(mask.dib(), x, y) == 255;
            EXPECT_EQ(PixelAt(image.dib(), x, y), selected ? CropColour(x, y) : kWhite) << x << y;
        }
}

TEST(CropToSelection, WithoutARegionNothingChanges) {
    DibBlock image = testing::MakeRgb(5, 2, CropColour);
    DibBlock before = testing::MakeRgb(5, 2, CropColour);
    DibBlock mask = testing::BlankMask(5, 2);
    EXPECT_FALSE(CropToSelection(image.dib(), mask.dib()));
    EXPECT_TRUE(testing::SamePixels(image.dib(), before.dib()));
}

TEST(CropToSelection, ARegionOfFaintBytesSelectsNothingSoAllTurnsWhite) {
    DibBlock image = testing::MakeRgb(3, 3, CropColour);
    DibBlock mask = testing::MakeGrey(3, 3, [](int x, int y) { return uint8_t(1 + 100 * x + y); });
    ASSERT_TRUE(CropToSelection(image.dib(), mask.dib()));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(image.dib(), x, y), kWhite);
}

TEST(CropToSelection, ARowPaddingByteIsNotAPixel) {
    DibBlock image = testing::MakeRgb(3, 1, CropColour); // 9 bytes in a row of 12
    DibBlock mask = MaskFromArt({"#.."});
    ASSERT_TRUE(CropToSelection(image.dib(), mask.dib()));
    EXPECT_EQ(image.dib().row(0)[9], 0xCD);
}

TEST(ClearSelection, ClearsMaskAndSavedMaskOnlyWhenARegionExists) {
    DibBlock mask = MaskFromArt({"..#", "#.."});
    DibBlock saved = MaskFromArt({"###", "###"});
    ASSERT_TRUE(ClearSelection(mask.dib(), saved.dib()));
    EXPECT_EQ(testing::MaskArt(mask.dib()), testing::Art({"...", "..."}));
    EXPECT_EQ(testing::MaskArt(saved.dib()), testing::Art({"...", "..."}));

    DibBlock savedAgain = MaskFromArt({"#..", "..."});
    EXPECT_FALSE(ClearSelection(mask.dib(), savedAgain.dib()));
    EXPECT_EQ(testing::MaskArt(savedAgain.dib()), testing::Art({"#..", "..."}));
}

} // namespace
} // namespace halvera
