#include "view/BuildOutlineMap.h"

#include "MaskArt.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Art;
using testing::MaskArt;
using testing::MaskFromArt;

// A viewport showing the whole mask at `zoom` in a client larger than it.
OutlineViewport WholeImage(const CDibImage& mask, int zoom) {
    return {0, 0, double(zoom), mask.width() * zoom, mask.height * zoom, 1000, 1000};
}

TEST(BuildOutlineMap, ZoomOneMarksSelectedPixelsNextToClearOnes) {
    DibBlock mask = MaskFromArt({
        "......",
        ".####.",
        ".####.",
        ".####.",
        "......",
    });
    DibBlock map;
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), WholeImage(mask.dib(), 1)));
    EXPECT_EQ(MaskArt(map.dib()), Art({
                                      "......",
                                      ".####.",
                                      ".#..#.",
                                      ".####.",
                                      "......",
                                  }));
}

TEST(BuildOutlineMap, ZoomTwoSamplesEachMaskPixelTwice) {
    DibBlock mask = MaskFromArt({
        "....",
        ".##.",
        ".#..",
    });
    DibBlock map;
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), WholeImage(mask.dib(), 2)));
    EXPECT_EQ(MaskArt(map.dib()), Art({
                                      "........",
                                      "........",
                                      "..####..",
                                      "..#.##..",
                                      "..##....",
                                      "..##....",
                                  }));
}

TEST(BuildOutlineMap, ImageBordersCloseTheOutlineOnlyWhereVisible) {
    DibBlock mask = MaskFromArt({"####", "####", "####"});
    DibBlock map;
    // The whole image inside a larger client: every border is visible.
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), {0, 0, 1.0, 4, 3, 10, 10}));
    EXPECT_EQ(MaskArt(map.dib()), Art({"####", "#..#", "####"}));
    // As high as the client: top and bottom rows are cut by the window.
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), {0, 0, 1.0, 4, 3, 10, 3}));
    EXPECT_EQ(MaskArt(map.dib()), Art({"....", "#..#", "...."}));
    // As wide as the client: the left and right columns are cut.
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), {0, 0, 1.0, 4, 3, 4, 10}));
    EXPECT_EQ(MaskArt(map.dib()), Art({"####", "....", "####"}));
}

TEST(BuildOutlineMap, ScrolledViewSamplesFromTheSourceOrigin) {
    DibBlock mask = MaskFromArt({
        "......",
        "......",
        "..###.",
        "..###.",
        "..###.",
    });
    DibBlock map;
    // The lower right 4 x 3 pixels, in a client of the same size.
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), {2, 2, 1.0, 4, 3, 4, 3}));
    EXPECT_EQ(MaskArt(map.dib()), Art({
                                      "....",
                                      "..#.",
                                      "....",
                                  }));
}

TEST(BuildOutlineMap, SamplesBeyondTheMaskAreClear) {
    DibBlock mask = MaskFromArt({"###", "###", "###"});
    DibBlock map;
    // The map reaches two columns past the right edge of the mask.
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), {1, 0, 1.0, 4, 3, 4, 3}));
    EXPECT_EQ(MaskArt(map.dib()), Art({"....", ".#..", "...."}));
}

TEST(BuildOutlineMap, ZoomingOutSamplesEverySecondPixel) {
    // Half size: map (j, i) shows mask (2j, 2i).
    const OutlineViewport half{0, 0, 0.5, 4, 3, 4, 3};
    DibBlock map;
    DibBlock unsampledHole = MaskFromArt({
        "########",
        "#.######",
        "########",
        "########",
        "########",
        "########",
    });
    ASSERT_TRUE(BuildOutlineMap(map, unsampledHole.dib(), half));
    EXPECT_EQ(MaskArt(map.dib()), Art({"....", "....", "...."}));
    DibBlock sampledHole = MaskFromArt({
        "########",
        "########",
        "####.###",
        "########",
        "########",
        "########",
    });
    ASSERT_TRUE(BuildOutlineMap(map, sampledHole.dib(), half));
    EXPECT_EQ(MaskArt(map.dib()), Art({"....", ".#..", "...."}));
}

TEST(BuildOutlineMap, BytesBelow255AreNeitherOutlineNorClear) {
    DibBlock mask = MaskFromArt({".....", ".###.", ".###.", ".###.", "....."});
    mask.dib().row(2)[1] = 128;
    DibBlock map;
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), WholeImage(mask.dib(), 1)));
    EXPECT_EQ(MaskArt(map.dib()), Art({".....", ".###.", "...#.", ".###.", "....."}));
}

TEST(BuildOutlineMap, ReusesAMapOfTheSameSizeAndReleasesOnFailure) {
    DibBlock mask = MaskFromArt({"##", "##"});
    DibBlock map;
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), WholeImage(mask.dib(), 1)));
    const uint8_t* block = map.dib().bits;
    ASSERT_TRUE(BuildOutlineMap(map, mask.dib(), {0, 0, 1.0, 2, 2, 2, 2}));
    EXPECT_EQ(map.dib().bits, block);
    EXPECT_EQ(MaskArt(map.dib()), Art({"..", ".."}));

    EXPECT_FALSE(BuildOutlineMap(map, mask.dib(), {0, 0, 0.0, 2, 2, 2, 2}));
    EXPECT_TRUE(map.empty());
    EXPECT_FALSE(BuildOutlineMap(map, mask.dib(), {0, 0, 1.0, 0, 2, 2, 2}));
    EXPECT_FALSE(BuildOutlineMap(map, CDibImage{}, {0, 0, 1.0, 2, 2, 2, 2}));
}

} // namespace
} // namespace halvera
