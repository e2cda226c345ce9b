#include "image/SelectionBounds.h"

#include "MaskArt.h"
#include "SyntheticImages.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::MaskFromArt;

TEST(SelectionBounds, HoldsEverySelectedPixel) {
    DibBlock mask = MaskFromArt({
        ".......",
        "...#...",
        ".#.....",
        "....#..",
        ".......",
    });
    EXPECT_EQ(SelectionBounds(mask.dib()), (PixelRect{1, 1, 4, 3}));
}

TEST(SelectionBounds, RowsFurtherRightOrLeftWidenTheBounds) {
    DibBlock mask = MaskFromArt({
        "..##....",
        "..#.#..#",
        "#.......",
        "........",
    });
    EXPECT_EQ(SelectionBounds(mask.dib()), (PixelRect{0, 0, 7, 2}));
}

TEST(SelectionBounds, WithoutAByteOf255TheBoundsAreTheWholeImage) {
    DibBlock empty = testing::BlankMask(6, 4);
    EXPECT_EQ(SelectionBounds(empty.dib()), (PixelRect{0, 0, 5, 3}));
    DibBlock faint = testing::MakeGrey(6, 4, [](int x, int) { return uint8_t(x + 1); });
    EXPECT_EQ(SelectionBounds(faint.dib()), (PixelRect{0, 0, 5, 3}));
}

TEST(SelectionBounds, OnlyTheByte255CountsAndPaddingIsIgnored) {
    DibBlock mask =
        testing::MakeGrey(5, 3, [](int x, int y) { return uint8_t(x == 2 && y == 1 ? 255 : 254); });
    mask.dib().row(2)[6] = 255; // padding of a 5-byte row
    EXPECT_EQ(SelectionBounds(mask.dib()), (PixelRect{2, 1, 2, 1}));
}

} // namespace
} // namespace halvera
