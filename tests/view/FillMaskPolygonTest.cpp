#include "view/FillMaskPolygon.h"

#include "MaskArt.h"

#include <gtest/gtest.h>
#include <vector>

namespace halvera {
namespace {

using testing::Art;
using testing::BlankMask;
using testing::MaskArt;

std::string FilledPolygon(int width, int height, const std::vector<PixelPoint>& points,
                          int expectedResult = 1) {
    DibBlock mask = BlankMask(width, height);
    EXPECT_EQ(FillMaskPolygon(mask.dib(), points, 255), expectedResult);
    return MaskArt(mask.dib());
}

// Each edge covers its rows from the top end up to, not including, the
// bottom end, so the bottom row of the points is never filled.
TEST(FillMaskPolygon, RectanglesOfOddAndEvenSizesLoseTheirBottomRow) {
    // 1 x 1: all four corners on one row leave no edge.
    EXPECT_EQ(FilledPolygon(3, 3, {{1, 1}, {1, 1}, {1, 1}, {1, 1}}, 0), Art({"...", "...", "..."}));
    // Corners 2 x 3 pixels apart: rows 0 and 1, both columns.
    EXPECT_EQ(FilledPolygon(3, 4, {{0, 0}, {1, 0}, {1, 2}, {0, 2}}),
              Art({"##.", "##.", "...", "..."}));
    // Corners 7 x 4 pixels apart.
    EXPECT_EQ(FilledPolygon(8, 5, {{0, 0}, {6, 0}, {6, 3}, {0, 3}}), Art({
                                                                         "#######.",
                                                                         "#######.",
                                                                         "#######.",
                                                                         "........",
                                                                         "........",
                                                                     }));
}

TEST(FillMaskPolygon, AConcaveUShapeFillsBothLegsIncludingTheInnerEdges) {
    EXPECT_EQ(FilledPolygon(9, 7, {{0, 0}, {8, 0}, {8, 6}, {6, 6}, {6, 2}, {2, 2}, {2, 6}, {0, 6}}),
              Art({
                  "#########",
                  "#########",
                  "###...###",
                  "###...###",
                  "###...###",
                  "###...###",
                  ".........",
              }));
}

TEST(FillMaskPolygon, ConcaveNotchFromTheRight) {
    EXPECT_EQ(FilledPolygon(7, 7, {{0, 0}, {6, 0}, {3, 3}, {6, 6}, {0, 6}}), Art({
                                                                                 "#######",
                                                                                 "######.",
                                                                                 "#####..",
                                                                                 "####...",
                                                                                 "#####..",
                                                                                 "######.",
                                                                                 ".......",
                                                                             }));
}

TEST(FillMaskPolygon, ConcaveNotchFromTheTopGivesTwoSpansPerRow) {
    EXPECT_EQ(FilledPolygon(7, 6, {{0, 0}, {3, 3}, {6, 0}, {6, 5}, {0, 5}}), Art({
                                                                                 "#.....#",
                                                                                 "##...##",
                                                                                 "###.###",
                                                                                 "#######",
                                                                                 "#######",
                                                                                 ".......",
                                                                             }));
}

TEST(FillMaskPolygon, CrossingsRoundHalfUp) {
    // The slanted edge crosses rows at x = 0, 1.25, 2.5 and 3.75.
    EXPECT_EQ(FilledPolygon(6, 5, {{0, 0}, {5, 4}, {0, 4}}), Art({
                                                                 "#.....",
                                                                 "##....",
                                                                 "####..",
                                                                 "#####.",
                                                                 "......",
                                                             }));
}

TEST(FillMaskPolygon, PointOrderDoesNotMatter) {
    const std::string clockwise = FilledPolygon(9, 8, {{1, 0}, {8, 3}, {4, 7}, {0, 5}});
    EXPECT_EQ(FilledPolygon(9, 8, {{0, 5}, {4, 7}, {8, 3}, {1, 0}}), clockwise);
    EXPECT_EQ(FilledPolygon(9, 8, {{8, 3}, {4, 7}, {0, 5}, {1, 0}}), clockwise);
}

TEST(FillMaskPolygon, PartsOutsideTheMaskAreClipped) {
    EXPECT_EQ(FilledPolygon(4, 4, {{-3, -3}, {2, -3}, {2, 2}, {-3, 2}}),
              Art({"###.", "###.", "....", "...."}));
}

TEST(FillMaskPolygon, SpansLeftOfTheMaskFillNothing) {
    // A parallelogram leaning in from the left: its first row (-4..-2) lies
    // wholly outside and must not be pulled onto column 0. On the second row
    // the right crossing -1 rounds as trunc(-0.5) = 0 and reaches column 0.
    EXPECT_EQ(FilledPolygon(4, 4, {{-4, 0}, {-2, 0}, {2, 4}, {0, 4}}),
              Art({"....", "#...", "#...", "##.."}));
}

TEST(FillMaskPolygon, TooFewEdgesFillNothing) {
    EXPECT_EQ(FilledPolygon(3, 3, {{1, 1}}, 0), Art({"...", "...", "..."}));
    EXPECT_EQ(FilledPolygon(3, 3, {}, 0), Art({"...", "...", "..."}));
    EXPECT_EQ(FilledPolygon(4, 3, {{0, 1}, {3, 1}, {2, 1}}, 0), Art({"....", "....", "...."}));
}

TEST(FillMaskPolygon, TwoPointsMakeALineOfOnePixelPerRow) {
    EXPECT_EQ(FilledPolygon(4, 4, {{0, 0}, {3, 3}}), Art({"#...", ".#..", "..#.", "...."}));
}

TEST(FillMaskPolygon, ValueZeroSubtracts) {
    DibBlock mask = testing::MaskFromArt({"#####", "#####", "#####", "#####"});
    EXPECT_EQ(
        FillMaskPolygon(mask.dib(), std::vector<PixelPoint>{{1, 0}, {3, 0}, {3, 3}, {1, 3}}, 0), 1);
    EXPECT_EQ(MaskArt(mask.dib()), Art({"#...#", "#...#", "#...#", "#####"}));
}

} // namespace
} // namespace halvera
