#include "view/FillMaskEllipse.h"

#include "MaskArt.h"
#include "view/MidpointEllipse.h"

#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace halvera {
namespace {

using testing::Art;
using testing::BlankMask;
using testing::MaskArt;

std::string FilledEllipse(int width, int height, PixelRect bounds) {
    DibBlock mask = BlankMask(width, height);
    FillMaskEllipse(mask.dib(), bounds, 255);
    return MaskArt(mask.dib());
}

// The patterns below were worked out by stepping the decision values by hand.
TEST(FillMaskEllipse, OnePixel) {
    EXPECT_EQ(FilledEllipse(3, 3, {1, 1, 1, 1}), Art({"...", ".#.", "..."}));
}

TEST(FillMaskEllipse, TwoByThreeFillsTheWholeRectangle) {
    EXPECT_EQ(FilledEllipse(2, 3, {0, 0, 1, 2}), Art({"##", "##", "##"}));
}

TEST(FillMaskEllipse, SevenByFourCutsTheCorners) {
    EXPECT_EQ(FilledEllipse(7, 4, {0, 0, 6, 3}), Art({
                                                     ".#####.",
                                                     "#######",
                                                     "#######",
                                                     ".#####.",
                                                 }));
}

TEST(FillMaskEllipse, ADecisionValueOfZeroDoesNotStepInward) {
    // 3 x 3 starts with the decision value 0: the first row stays at full
    // height, so the corners are filled too.
    EXPECT_EQ(FilledEllipse(3, 3, {0, 0, 2, 2}), Art({"###", "###", "###"}));
}

TEST(FillMaskEllipse, TwelveByFourteen) {
    EXPECT_EQ(FilledEllipse(12, 14, {0, 0, 11, 13}), Art({
                                                         "...######...",
                                                         "..########..",
                                                         ".##########.",
                                                         ".##########.",
                                                         "############",
                                                         "############",
                                                         "############",
                                                         "############",
                                                         "############",
                                                         "############",
                                                         ".##########.",
                                                         ".##########.",
                                                         "..########..",
                                                         "...######...",
                                                     }));
}

TEST(FillMaskEllipse, FiveByFiveCircle) {
    EXPECT_EQ(FilledEllipse(5, 5, {0, 0, 4, 4}), Art({
                                                     ".###.",
                                                     "#####",
                                                     "#####",
                                                     "#####",
                                                     ".###.",
                                                 }));
}

TEST(FillMaskEllipse, EvenWidthOddHeightAddsTheExtraColumnOnTheRight) {
    EXPECT_EQ(FilledEllipse(8, 3, {0, 0, 7, 2}), Art({
                                                     ".######.",
                                                     "########",
                                                     ".######.",
                                                 }));
}

TEST(FillMaskEllipse, TallAndWideShapesAreTransposes) {
    EXPECT_EQ(FilledEllipse(3, 7, {0, 0, 2, 6}),
              Art({".#.", "###", "###", "###", "###", "###", ".#."}));
    EXPECT_EQ(FilledEllipse(7, 3, {0, 0, 6, 2}), Art({".#####.", "#######", ".#####."}));
}

TEST(FillMaskEllipse, CornersInAnyOrderGiveTheSamePixels) {
    const std::string expected = FilledEllipse(9, 6, {1, 1, 7, 4});
    EXPECT_EQ(FilledEllipse(9, 6, {7, 4, 1, 1}), expected);
    EXPECT_EQ(FilledEllipse(9, 6, {7, 1, 1, 4}), expected);
    EXPECT_EQ(FilledEllipse(9, 6, {1, 4, 7, 1}), expected);
}

TEST(FillMaskEllipse, PixelsOutsideTheMaskAreSkipped) {
    // The 7 x 4 ellipse moved two columns left and one row up.
    EXPECT_EQ(FilledEllipse(5, 3, {-2, -1, 4, 2}), Art({
                                                       "#####",
                                                       "#####",
                                                       "####.",
                                                   }));
}

TEST(FillMaskEllipse, ValueZeroDeselects) {
    DibBlock mask = testing::MaskFromArt({"#####", "#####", "#####"});
    FillMaskEllipse(mask.dib(), {0, 0, 4, 2}, 0);
    EXPECT_EQ(MaskArt(mask.dib()), Art({"#...#", ".....", "#...#"}));
}

// Outline points, counted, so that a point plotted twice (which would
// cancel itself in XOR drawing) is caught.
std::map<std::pair<int, int>, int> OutlinePoints(PixelRect bounds) {
    std::map<std::pair<int, int>, int> points;
    MidpointEllipse(bounds).forEachOutlinePoint([&](int x, int y) { ++points[{x, y}]; });
    return points;
}

std::string OutlineArt(int width, int height, PixelRect bounds) {
    DibBlock mask = BlankMask(width, height);
    for (const auto& [point, count] : OutlinePoints(bounds)) {
        EXPECT_EQ(count, 1) << "point " << point.first << "," << point.second;
        mask.dib().row(point.second)[point.first] = 255;
    }
    return MaskArt(mask.dib());
}

TEST(MidpointEllipse, OutlineOfSevenByFour) {
    EXPECT_EQ(OutlineArt(7, 4, {0, 0, 6, 3}), Art({
                                                  ".#####.",
                                                  "#.....#",
                                                  "#.....#",
                                                  ".#####.",
                                              }));
}

TEST(MidpointEllipse, OutlineOfAOnePixelColumnPlotsEachPixelOnce) {
    EXPECT_EQ(OutlineArt(1, 3, {0, 0, 0, 2}), Art({"#", "#", "#"}));
    EXPECT_EQ(OutlineArt(1, 1, {0, 0, 0, 0}), Art({"#"}));
}

TEST(MidpointEllipse, OutlineLiesOnTheFilledShape) {
    const PixelRect bounds{0, 0, 10, 7};
    DibBlock filled = BlankMask(11, 8);
    FillMaskEllipse(filled.dib(), bounds, 255);
    for (const auto& [point, count] : OutlinePoints(bounds))
        EXPECT_EQ(filled.dib().row(point.second)[point.first], 255);
}

TEST(MidpointEllipse, CentreAndExtraRowFollowTheCorners) {
    const MidpointEllipse e(PixelRect{2, 3, 7, 10});
    EXPECT_EQ(e.cx, 4);
    EXPECT_EQ(e.cy, 6);
    EXPECT_EQ(e.ox, 1);
    EXPECT_EQ(e.oy, 1);
    EXPECT_TRUE(e.tall);
    // Truncation toward zero, also left of the origin.
    EXPECT_EQ(MidpointEllipse(PixelRect{-3, 0, 0, 0}).cx, -1);
}

TEST(MidpointEllipse, HugeRectanglesAreNotStepped) {
    int plots = 0;
    MidpointEllipse(PixelRect{0, 0, 1 << 21, 4}).step([&](int, int) { ++plots; });
    EXPECT_EQ(plots, 0);
}

} // namespace
} // namespace halvera
