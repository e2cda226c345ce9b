#include "view/FillMaskRect.h"

#include "MaskArt.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Art;
using testing::BlankMask;
using testing::MaskArt;

std::string FilledRect(int width, int height, PixelRect rect) {
    DibBlock mask = BlankMask(width, height);
    FillMaskRect(mask.dib(), rect, 255);
    return MaskArt(mask.dib());
}

TEST(FillMaskRect, BothCornersAreIncluded) {
    EXPECT_EQ(FilledRect(5, 4, {1, 1, 3, 2}), Art({".....", ".###.", ".###.", "....."}));
}

TEST(FillMaskRect, ReversedCornersSelectTheSamePixels) {
    const std::string expected = FilledRect(6, 5, {1, 1, 4, 3});
    EXPECT_EQ(FilledRect(6, 5, {4, 3, 1, 1}), expected);
    EXPECT_EQ(FilledRect(6, 5, {4, 1, 1, 3}), expected);
    EXPECT_EQ(FilledRect(6, 5, {1, 3, 4, 1}), expected);
}

TEST(FillMaskRect, ZeroWidthOrHeightFillsTheLineAndAPointFillsOnePixel) {
    EXPECT_EQ(FilledRect(4, 4, {2, 0, 2, 3}), Art({"..#.", "..#.", "..#.", "..#."}));
    EXPECT_EQ(FilledRect(4, 3, {3, 1, 0, 1}), Art({"....", "####", "...."}));
    EXPECT_EQ(FilledRect(3, 3, {1, 2, 1, 2}), Art({"...", "...", ".#."}));
}

TEST(FillMaskRect, IsClippedToTheMask) {
    EXPECT_EQ(FilledRect(4, 3, {-5, 2, 1, 9}), Art({"....", "....", "##.."}));
    EXPECT_EQ(FilledRect(3, 3, {5, 0, 9, 2}), Art({"...", "...", "..."}));
}

TEST(FillMaskRect, ValueZeroDeselectsAndPaddingIsLeftAlone) {
    DibBlock mask = testing::MaskFromArt({"#####", "#####"});
    mask.dib().row(0)[5] = 7; // row padding
    FillMaskRect(mask.dib(), {1, 0, 3, 1}, 0);
    EXPECT_EQ(MaskArt(mask.dib()), Art({"#...#", "#...#"}));
    EXPECT_EQ(mask.dib().row(0)[5], 7);
}

} // namespace
} // namespace halvera
