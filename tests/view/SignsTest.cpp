#include "MaskArt.h"
#include "PaintTestSupport.h"
#include "SyntheticImages.h"
#include "view/ArrowSign.h"
#include "view/RulerSign.h"

#include <gtest/gtest.h>
#include <numbers>

namespace halvera {
namespace {

using testing::Art;
using testing::Bgr;
using testing::kWhite;
using testing::MakeUniformRgb;
using testing::PaintArt;
using testing::PixelAt;
using testing::RefOf;

constexpr Bgr kSignRed{0, 0, 255};

TEST(ArrowSign, CornersForAngleZeroAndAQuarterTurnHalf) {
    const auto flat = ArrowSignCorners({50, 50}, 8, 0.0);
    const std::array<PixelPoint, 7> expectedFlat{
        {{50, 50}, {58, 58}, {58, 52}, {66, 52}, {66, 48}, {58, 48}, {58, 42}}};
    EXPECT_EQ(flat, expectedFlat);

    const auto turned = ArrowSignCorners({50, 50}, 8, std::numbers::pi / 4);
    const std::array<PixelPoint, 7> expectedTurned{
        {{50, 50}, {50, 61}, {54, 57}, {60, 63}, {63, 60}, {57, 54}, {61, 50}}};
    EXPECT_EQ(turned, expectedTurned);
}

TEST(ArrowSign, RoundingTruncatesTowardZero) {
    // Pointing the other way from the origin: -8 + 0.5 = -7.5 becomes -7.
    const auto back = ArrowSignCorners({0, 0}, 8, std::numbers::pi);
    EXPECT_EQ(back[1], (PixelPoint{-7, -7}));
    EXPECT_EQ(back[3], (PixelPoint{-15, -1}));
}

TEST(ArrowSign, TheFilledArrowCoversItsTipAndShaft) {
    DibBlock image = MakeUniformRgb(80, 80, kWhite);
    DrawArrowSign(PaintCanvas(image.dib(), CDibImage{}, RefOf(kSignRed)), {20, 40}, 10, 0.0);
    EXPECT_EQ(PixelAt(image.dib(), 21, 40), kSignRed);   // just behind the tip
    EXPECT_EQ(PixelAt(image.dib(), 38, 40), kSignRed);   // in the shaft
    EXPECT_EQ(PixelAt(image.dib(), 38, 35), kWhite); // beside the shaft
    EXPECT_EQ(PixelAt(image.dib(), 19, 40), kWhite); // before the tip
}

RulerSignScale PixelsPerUnit(int pixels) {
    return {1.0, pixels, 0};
}

TEST(RulerSign, TheBarLengthInAWideImage) {
    EXPECT_EQ(ChooseRulerSignBar(PixelsPerUnit(100), 600).units, 5);
    EXPECT_EQ(ChooseRulerSignBar(PixelsPerUnit(100), 600).pixels, 500);
    EXPECT_EQ(ChooseRulerSignBar(PixelsPerUnit(20), 600).units, 5);
    EXPECT_EQ(ChooseRulerSignBar(PixelsPerUnit(20), 600).pixels, 100);
    EXPECT_EQ(ChooseRulerSignBar(PixelsPerUnit(5), 600).units, 10);
    EXPECT_EQ(ChooseRulerSignBar(PixelsPerUnit(5), 600).pixels, 50);
    // 2.5 pixels per unit: 20 units are exactly 50 pixels.
    EXPECT_EQ(ChooseRulerSignBar({2.0, 5, 0}, 600).units, 20);
}

TEST(RulerSign, NoBarWithoutAUsableCalibration) {
    EXPECT_FALSE(ChooseRulerSignBar(PixelsPerUnit(120), 600).available()); // 5 units = 600
    EXPECT_TRUE(ChooseRulerSignBar(PixelsPerUnit(119), 600).available());
    EXPECT_FALSE(ChooseRulerSignBar({1.0, 0, 0}, 600).available());
    EXPECT_FALSE(ChooseRulerSignBar({0.0, 100, 0}, 600).available());
}

TEST(RulerSign, DraggingAnEndKeepsWholeUnits) {
    const RulerSignScale scale{3.0, 10, 0}; // 3.33 pixels per unit
    const RulerSignBar bar = RulerSignBarForLength(scale, 70);
    EXPECT_EQ(bar.units, 21);
    EXPECT_EQ(bar.pixels, 70);
    EXPECT_EQ(RulerSignBarForLength(scale, 12).units, 3);
    EXPECT_EQ(RulerSignBarForLength(scale, 12).pixels, 10);
    EXPECT_EQ(RulerSignBarForLength(PixelsPerUnit(20), 5).units, 1); // never 0 units
}

// 263 pixels per 100 um: 2.63 pixels per unit, so a bar of whole units is
// a fraction of a pixel past a whole pixel, and is rounded to the nearest.
TEST(RulerSign, AtAFractionalScaleTheBarIsRoundedToTheNearestPixel) {
    const RulerSignScale scale{100.0, 263, 0};
    const RulerSignBar chosen = ChooseRulerSignBar(scale, 600);
    EXPECT_EQ(chosen.units, 20);
    EXPECT_EQ(chosen.pixels, 53); // 52.6
    const RulerSignBar dragged = RulerSignBarForLength(scale, 60);
    EXPECT_EQ(dragged.units, 22);
    EXPECT_EQ(dragged.pixels, 58);                          // 57.86
    EXPECT_EQ(RulerSignBarForLength(scale, 30).pixels, 29); // 11 units, 28.93
    // Below a half the nearest pixel is the one before: 21 units are 55.23.
    EXPECT_EQ(RulerSignBarForLength(scale, 56).pixels, 55);
}

TEST(RulerSign, SettingsGiveTheHorizontalCalibration) {
    AppSettings settings;
    settings.xRealRulerData = 2.5;
    settings.xPixelRulerData = 40;
    settings.yPixelRulerData = 7;
    settings.RulerUnit = 3;
    const RulerSignScale scale = RulerSignScaleFrom(settings);
    EXPECT_EQ(scale.realLength, 2.5);
    EXPECT_EQ(scale.pixelLength, 40);
    EXPECT_EQ(scale.unit, 3);
}

TEST(RulerSign, BarTicksAndTheGlyphRowsOfFiveMicrometres) {
    DibBlock image = MakeUniformRgb(140, 60, kWhite);
    DrawRulerSign(PaintCanvas(image.dib(), CDibImage{}, RefOf(kSignRed)), {10, 40}, {5, 100}, 0);
    // The label starts at 10 + (100 - 8 - 16) / 2 = 48, its top row at 20.
    EXPECT_EQ(PaintArt(image.dib(), kSignRed, 48, 20, 30, 12), Art({
                                                               "######........................",
                                                               "#.............................",
                                                               "#.............................",
                                                               "#........#....#...##.###.##...",
                                                               "#.##.....#....#....##..##..#..",
                                                               "##..#....#....#....#...#...#..",
                                                               ".....#...#....#....#...#...#..",
                                                               ".....#...#....#....#...#...#..",
                                                               "#....#...#....#....#...#...#..",
                                                               "#...#....#....#....#...#...#..",
                                                               ".###.....#####.##.###.###.###.",
                                                               "........#.....................",
                                                           }));
    // Nothing else in the label's rows beside the glyphs.
    EXPECT_EQ(PaintArt(image.dib(), kSignRed, 0, 20, 48, 15).find('#'), std::string::npos);
    // The bar from x = 10 to 110 on row 40, ticks five rows up and down.
    EXPECT_EQ(PaintArt(image.dib(), kSignRed, 9, 40, 103, 1), "." + std::string(101, '#') + ".");
    for (int x : {10, 110}) {
        for (int y = 33; y <= 47; ++y)
            EXPECT_EQ(PixelAt(image.dib(), x, y) == kSignRed, y >= 35 && y <= 45) << x << "," << y;
    }
}

TEST(RulerSign, ClipsToTheImageAndDropsALabelOfMoreThanEightDigits) {
    DibBlock image = MakeUniformRgb(30, 30, kWhite);
    const PaintCanvas canvas(image.dib(), CDibImage{}, RefOf(kSignRed));
    DrawRulerSign(canvas, {20, 2}, {123456789, 40}, 4);
    EXPECT_EQ(PixelAt(image.dib(), 29, 2), kSignRed);
    EXPECT_EQ(PixelAt(image.dib(), 20, 0), kSignRed);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(PixelAt(image.dib(), x, y), kWhite);

    DibBlock labelled = MakeUniformRgb(30, 30, kWhite);
    DrawRulerSign(PaintCanvas(labelled.dib(), CDibImage{}, RefOf(kSignRed)), {-40, 25}, {12345678, 90},
                  4);
    // The label's glyphs reach into the image: 8 digits are still drawn.
    EXPECT_NE(PaintArt(labelled.dib(), kSignRed, 0, 5, 30, 12).find('#'), std::string::npos);
}

} // namespace
} // namespace halvera
