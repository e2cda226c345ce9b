#include "ProcessingTestSupport.h"
#include "processing/ApplyBrightness.h"
#include "processing/ApplyContrast.h"
#include "processing/BrightnessContrastTables.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Grey;
using testing::PixelAt;

// One row holding the levels 0..255 in every channel, and its destination.
struct LevelRamp {
    DibBlock working = testing::MakeRgb(256, 1, [](int x, int) { return Grey(uint8_t(x)); });
    DibBlock image = testing::CopyOf(working.dib());

    int level(int v) const { return PixelAt(image.dib(), v, 0).green; }
};

TEST(ApplyBrightness, PlusAndMinusOneHundredTurnEveryPixelWhiteAndBlack) {
    LevelRamp ramp;
    BrightnessContrastTables tables;
    ASSERT_TRUE(ApplyBrightness(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 100));
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(PixelAt(ramp.image.dib(), v, 0), Grey(255)) << v;
    ASSERT_TRUE(ApplyBrightness(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, -100));
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(PixelAt(ramp.image.dib(), v, 0), Grey(0)) << v;
}

TEST(ApplyBrightness, TruncatesThePercentTowardZeroAndClamps) {
    LevelRamp ramp;
    BrightnessContrastTables tables;
    // 255 * 50 / 100 = 127.5 -> 127.
    ASSERT_TRUE(ApplyBrightness(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 50));
    EXPECT_EQ(ramp.level(100), 227);
    EXPECT_EQ(ramp.level(128), 255);
    EXPECT_EQ(ramp.level(200), 255);
    // 255 * -1 / 100 = -2.55 -> -2, not -3.
    ASSERT_TRUE(ApplyBrightness(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, -1));
    EXPECT_EQ(tables.offset(), -2);
    EXPECT_EQ(ramp.level(100), 98);
    EXPECT_EQ(ramp.level(1), 0);
}

TEST(ApplyBrightness, RecomputesFromTheWorkingCopyInsteadOfAccumulating) {
    LevelRamp ramp;
    BrightnessContrastTables tables;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ApplyBrightness(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 20));
    EXPECT_EQ(ramp.level(10), 61); // 10 + 51, once
    ASSERT_TRUE(ApplyBrightness(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 0));
    EXPECT_TRUE(testing::SamePixels(ramp.image.dib(), ramp.working.dib()));
}

TEST(ApplyContrast, PlusOneHundredIsAThresholdAtTheMean) {
    LevelRamp ramp;
    BrightnessContrastTables tables;
    ASSERT_TRUE(ApplyContrast(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 100, 100));
    EXPECT_EQ(ramp.level(0), 0);
    EXPECT_EQ(ramp.level(100), 0);
    EXPECT_EQ(ramp.level(101), 255);
    EXPECT_EQ(ramp.level(255), 255);
}

TEST(ApplyContrast, MinusOneHundredTurnsTheImageBlack) {
    LevelRamp ramp;
    BrightnessContrastTables tables;
    ASSERT_TRUE(
        ApplyContrast(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 100, -100));
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(ramp.level(v), 0) << v;
}

TEST(ApplyContrast, StretchesTheRangeAroundTheMeanOntoFullScale) {
    LevelRamp ramp;
    BrightnessContrastTables tables;
    // h 100, c 50: lo = 50, D = 255 - 50 - 155 * 50 / 100 = 128;
    // curve[v] = (255 v - 12750) / 128.
    ASSERT_TRUE(ApplyContrast(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 100, 50));
    EXPECT_EQ(ramp.level(40), 0);
    EXPECT_EQ(ramp.level(50), 0);
    EXPECT_EQ(ramp.level(100), 99);  // 12750 / 128 = 99.6
    EXPECT_EQ(ramp.level(177), 253); // 32385 / 128 = 253.0
    EXPECT_EQ(ramp.level(178), 255);
}

TEST(ApplyContrast, NegativeContrastScalesLevelsDownTowardZero) {
    LevelRamp ramp;
    BrightnessContrastTables tables;
    // h 100, c -50: a = 50, D = 305, M = 255 - 77 - 50 = 128; curve[v] = 128 v / 305.
    ASSERT_TRUE(ApplyContrast(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 100, -50));
    EXPECT_EQ(ramp.level(255), 107);
    EXPECT_EQ(ramp.level(100), 41);
    EXPECT_EQ(ramp.level(2), 0);
}

TEST(BrightnessContrastTables, TheResultIsTheSameWhicheverSliderMovesLast) {
    LevelRamp first, second;
    BrightnessContrastTables a, b;
    ASSERT_TRUE(ApplyContrast(a, first.image.dib(), first.working.dib(), CDibImage{}, 100, 50));
    ASSERT_TRUE(ApplyBrightness(a, first.image.dib(), first.working.dib(), CDibImage{}, 10));
    ASSERT_TRUE(ApplyBrightness(b, second.image.dib(), second.working.dib(), CDibImage{}, 10));
    ASSERT_TRUE(ApplyContrast(b, second.image.dib(), second.working.dib(), CDibImage{}, 100, 50));
    EXPECT_EQ(first.level(100), 124); // 99 + 25
    EXPECT_EQ(first.level(30), 25);   // clamp(negative stretch) + 25
    EXPECT_TRUE(testing::SamePixels(first.image.dib(), second.image.dib()));
}

TEST(BrightnessContrastTables, RefusesValuesOutsideTheSliderRangeWithoutTouchingAnything) {
    LevelRamp ramp;
    BrightnessContrastTables tables;
    ASSERT_TRUE(tables.SetBrightness(40));
    EXPECT_FALSE(ApplyBrightness(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 101));
    EXPECT_FALSE(
        ApplyContrast(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 100, -101));
    EXPECT_FALSE(ApplyContrast(tables, ramp.image.dib(), ramp.working.dib(), CDibImage{}, 256, 10));
    EXPECT_EQ(tables.offset(), 102);
    EXPECT_EQ(tables.curve()[77], 77);
    EXPECT_TRUE(testing::SamePixels(ramp.image.dib(), ramp.working.dib()));
}

TEST(ApplyBrightness, WritesOnlySelectedPixelsAndReadsTheWorkingCopy) {
    DibBlock working = testing::MakeUniformRgb(3, 1, Bgr{10, 20, 30});
    DibBlock image = testing::MakeUniformRgb(3, 1, Bgr{1, 2, 3}); // an earlier preview
    DibBlock mask = testing::MaskWhere(3, 1, [](int x, int) { return x == 1; });
    BrightnessContrastTables tables;
    ASSERT_TRUE(ApplyBrightness(tables, image.dib(), working.dib(), mask.dib(), 10));
    EXPECT_EQ(PixelAt(image.dib(), 1, 0), (Bgr{35, 45, 55}));
    EXPECT_EQ(PixelAt(image.dib(), 0, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(PixelAt(image.dib(), 2, 0), (Bgr{1, 2, 3}));
}

} // namespace
} // namespace halvera
