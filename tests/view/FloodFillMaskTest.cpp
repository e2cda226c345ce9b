#include "view/FloodFillMask.h"

#include "MaskArt.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Art;
using testing::MaskArt;
using testing::MaskFromArt;

TEST(FloodFillMask, PiecesTouchingOnlyAtACornerAreOnePiece) {
    DibBlock mask = MaskFromArt({
        "##.....",
        "##.....",
        "..##..#",
        "..##...",
        "....#..",
    });
    PixelRect filled;
    EXPECT_EQ(FloodFillMask(mask.dib(), {0, 0}, 255, 0, &filled), 1);
    EXPECT_EQ(MaskArt(mask.dib()), Art({
                                       ".......",
                                       ".......",
                                       "......#",
                                       ".......",
                                       ".......",
                                   }));
    EXPECT_EQ(filled, (PixelRect{0, 0, 4, 4}));
}

TEST(FloodFillMask, FollowsConcaveShapesUpAndDown) {
    DibBlock mask = MaskFromArt({
        "#.#.#..",
        "#.#.#.#",
        "#####.#",
        "#.....#",
        "#######",
    });
    PixelRect filled;
    EXPECT_EQ(FloodFillMask(mask.dib(), {4, 0}, 255, 0, &filled), 1);
    EXPECT_EQ(MaskArt(mask.dib()), Art({".......", ".......", ".......", ".......", "......."}));
    EXPECT_EQ(filled, (PixelRect{0, 0, 6, 4}));
}

TEST(FloodFillMask, FillsClearAreasToo) {
    DibBlock mask = MaskFromArt({
        "..#..",
        ".#.#.",
        "#...#",
        ".#.#.",
        "..#..",
    });
    EXPECT_EQ(FloodFillMask(mask.dib(), {2, 2}, 0, 255), 1);
    // The diamond's wall is only diagonally closed, so the fill leaks out.
    EXPECT_EQ(MaskArt(mask.dib()), Art({"#####", "#####", "#####", "#####", "#####"}));
}

TEST(FloodFillMask, RefusesBadSeeds) {
    DibBlock mask = MaskFromArt({"#.", ".#"});
    const std::string before = MaskArt(mask.dib());
    EXPECT_EQ(FloodFillMask(mask.dib(), {1, 0}, 255, 0), 0);   // seed holds 0
    EXPECT_EQ(FloodFillMask(mask.dib(), {2, 0}, 255, 0), 0);   // right of the mask
    EXPECT_EQ(FloodFillMask(mask.dib(), {0, -1}, 255, 0), 0);  // above it
    EXPECT_EQ(FloodFillMask(mask.dib(), {0, 0}, 255, 255), 0); // nothing to change
    EXPECT_EQ(FloodFillMask(CDibImage{}, {0, 0}, 255, 0), 0);
    EXPECT_EQ(MaskArt(mask.dib()), before);
}

TEST(FloodFillMask, ACombNeedingManySpansIsRemovedWhole) {
    // 1101 teeth joined along the bottom row: the bottom span pushes one span
    // per tooth, more than the stack's first 1024 places.
    constexpr int kWidth = 2201, kHeight = 40;
    DibBlock mask = testing::BlankMask(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            mask.dib().row(y)[x] = (x % 2 == 0 || y == kHeight - 1) ? 255 : 0;
    PixelRect filled;
    EXPECT_EQ(FloodFillMask(mask.dib(), {kWidth - 1, 0}, 255, 0, &filled), 1);
    EXPECT_EQ(filled, (PixelRect{0, 0, kWidth - 1, kHeight - 1}));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(mask.dib().row(y)[x], 0) << x << "," << y;
}

} // namespace
} // namespace halvera
