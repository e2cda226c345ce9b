#include "ProcessingTestSupport.h"
#include "processing/ApplyColorBalance.h"
#include "processing/ApplyHueSaturation.h"
#include "processing/ClampTable.h"
#include "processing/HsvToRgb.h"
#include "processing/RgbToHsv.h"
#include "processing/SmallDivision.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Grey;
using testing::PixelAt;

constexpr Bgr kRed{0, 0, 255};

Bgr OnePixel(const testing::ImageOperation& operation, Bgr colour) {
    const DibBlock source = testing::MakeUniformRgb(1, 1, colour);
    return PixelAt(testing::RunOn(operation, source.dib()).dib(), 0, 0);
}

testing::ImageOperation ColorBalance(int red, int green, int blue) {
    return [=](const CDibImage& d, const CDibImage& s, const CDibImage& m) {
        return ApplyColorBalance(d, s, m, red, green, blue);
    };
}

testing::ImageOperation HueSaturation(int hue, int saturation, int brightness) {
    return [=](const CDibImage& d, const CDibImage& s, const CDibImage& m) {
        return ApplyHueSaturation(d, s, m, hue, saturation, brightness);
    };
}

TEST(ApplyColorBalance, FullRedSetsEveryRedChannelAndLeavesTheOthers) {
    const int red = PercentToLevels(100);
    EXPECT_EQ(OnePixel(ColorBalance(red, 0, 0), Bgr{10, 20, 30}), (Bgr{10, 20, 255}));
    EXPECT_EQ(OnePixel(ColorBalance(red, 0, 0), Bgr{0, 0, 0}), (Bgr{0, 0, 255}));
}

TEST(ApplyColorBalance, OffsetsEachChannelAndClamps) {
    // Sliders C/R -10, M/G 30, Y/B -100: offsets -25, 76, -255.
    const auto balance =
        ColorBalance(PercentToLevels(-10), PercentToLevels(30), PercentToLevels(-100));
    EXPECT_EQ(OnePixel(balance, Bgr{200, 100, 100}), (Bgr{0, 176, 75}));
    EXPECT_EQ(OnePixel(balance, Bgr{255, 200, 20}), (Bgr{0, 255, 0}));
}

TEST(ApplyColorBalance, RefusesOffsetsBeyondFullScale) {
    DibBlock working = testing::MakeUniformRgb(2, 2, Bgr{1, 2, 3});
    DibBlock image = testing::CopyOf(working.dib());
    EXPECT_FALSE(ApplyColorBalance(image.dib(), working.dib(), CDibImage{}, 256, 0, 0));
    EXPECT_FALSE(ApplyColorBalance(image.dib(), working.dib(), CDibImage{}, 0, 0, -256));
}

TEST(RgbToHsv, MeasuresHueFromTheLargestChannelWithTiesGoingToRedThenGreen) {
    const HsvColour red = RgbToHsv(255, 0, 0);
    EXPECT_EQ(red.hue, 0);
    EXPECT_EQ(red.saturation, 255);
    EXPECT_EQ(red.value, 255);
    EXPECT_EQ(RgbToHsv(0, 255, 0).hue, 120);
    EXPECT_EQ(RgbToHsv(0, 0, 255).hue, 240);
    EXPECT_EQ(RgbToHsv(255, 255, 0).hue, 60);  // red and green tie: measured from red
    EXPECT_EQ(RgbToHsv(0, 200, 200).hue, 180); // green and blue tie: measured from green
    EXPECT_EQ(RgbToHsv(255, 0, 10).hue, 358);  // -600 / 255 = -2, plus 360
    const HsvColour muted = RgbToHsv(10, 20, 30);
    EXPECT_EQ(muted.hue, 210);        // (10 - 20) * 60 / 20 + 240
    EXPECT_EQ(muted.saturation, 170); // 20 * 255 / 30
    EXPECT_EQ(muted.value, 30);
    const HsvColour grey = RgbToHsv(90, 90, 90);
    EXPECT_EQ(grey.hue, 0);
    EXPECT_EQ(grey.saturation, 0);
    EXPECT_EQ(RgbToHsv(0, 0, 0).value, 0);
}

TEST(HsvToRgb, BuildsEachOfTheSixSectors) {
    auto rgb = [](int h, int s, int v) {
        const RgbColour c = HsvToRgb(h, s, v);
        return std::array<int, 3>{c.red, c.green, c.blue};
    };
    EXPECT_EQ(rgb(0, 255, 255), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(rgb(360, 255, 255), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(rgb(30, 255, 255), (std::array<int, 3>{255, 127, 0}));
    EXPECT_EQ(rgb(90, 255, 255), (std::array<int, 3>{128, 255, 0}));
    EXPECT_EQ(rgb(120, 255, 255), (std::array<int, 3>{0, 255, 0}));
    EXPECT_EQ(rgb(180, 255, 255), (std::array<int, 3>{0, 255, 255}));
    EXPECT_EQ(rgb(210, 170, 255), (std::array<int, 3>{85, 170, 255}));
    EXPECT_EQ(rgb(270, 255, 255), (std::array<int, 3>{127, 0, 255}));
    EXPECT_EQ(rgb(330, 255, 255), (std::array<int, 3>{255, 0, 128}));
    EXPECT_EQ(rgb(30, 128, 200), (std::array<int, 3>{200, 150, 100}));
    EXPECT_EQ(rgb(77, 0, 42), (std::array<int, 3>{42, 42, 42}));
}

TEST(ApplyHueSaturation, RotatesPureRedByTheHueShift) {
    EXPECT_EQ(OnePixel(HueSaturation(120, 0, 0), kRed), (Bgr{0, 255, 0}));
    EXPECT_EQ(OnePixel(HueSaturation(180, 0, 0), kRed), (Bgr{255, 255, 0}));
    EXPECT_EQ(OnePixel(HueSaturation(-180, 0, 0), kRed), (Bgr{255, 255, 0}));
    EXPECT_EQ(OnePixel(HueSaturation(-120, 0, 0), kRed), (Bgr{255, 0, 0}));
    EXPECT_EQ(OnePixel(HueSaturation(720 + 120, 0, 0), kRed), (Bgr{0, 255, 0}));
    // Blue 240 + 180 wraps past 360 to 60: yellow.
    EXPECT_EQ(OnePixel(HueSaturation(180, 0, 0), (Bgr{255, 0, 0})), (Bgr{0, 255, 255}));
}

TEST(ApplyHueSaturation, GivesAGreyThatGainsSaturationTheShiftedHue) {
    EXPECT_EQ(OnePixel(HueSaturation(0, 255, 0), Grey(100)), (Bgr{0, 0, 100}));
    EXPECT_EQ(OnePixel(HueSaturation(120, 255, 0), Grey(100)), (Bgr{0, 100, 0}));
    EXPECT_EQ(OnePixel(HueSaturation(120, 0, 0), Grey(100)), Grey(100));
}

TEST(ApplyHueSaturation, OffsetsSaturationAndValueWithClamping) {
    // (10, 20, 30) is hue 210, saturation 170, value 30; value + 255 clamps to 255.
    EXPECT_EQ(OnePixel(HueSaturation(0, 0, 255), (Bgr{30, 20, 10})), (Bgr{255, 170, 85}));
    // Saturation -255 leaves the value as a grey.
    EXPECT_EQ(OnePixel(HueSaturation(0, -255, 0), (Bgr{30, 20, 10})), Grey(30));
    EXPECT_EQ(OnePixel(HueSaturation(0, 0, -255), (Bgr{30, 20, 10})), Grey(0));
}

TEST(ApplyHueSaturation, NoChangeLeavesColoursThatSurviveTheIntegerModel) {
    for (const Bgr colour : {kRed, Bgr{255, 0, 0}, Bgr{0, 255, 0}, Grey(77), Bgr{0, 255, 255}})
        EXPECT_EQ(OnePixel(HueSaturation(0, 0, 0), colour), colour);
}

TEST(ApplyHueSaturation, AWideImageWithARegionGivesEachSelectedPixelItsOwnResult) {
    // 37 pixels a row run the vector path with a tail; a pixel alone (above)
    // runs the plain conversions. Unselected pixels keep their colour.
    const auto colourAt = [](int x, int y) {
        return Bgr{static_cast<uint8_t>(x * 53 + y * 7), static_cast<uint8_t>(x * 29 + y * 101),
                   static_cast<uint8_t>(x * 71 + y * 13)};
    };
    const auto selected = [](int x, int y) {
        return (x + y) % 3 != 0;
    };
    const DibBlock source = testing::MakeRgb(37, 4, colourAt);
    const DibBlock mask = testing::MaskWhere(37, 4, selected);
    const auto shift = HueSaturation(100, 50, -20);
    const DibBlock result = testing::RunOn(shift, source.dib(), mask.dib());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(PixelAt(result.dib(), x, y),
                      selected(x, y) ? OnePixel(shift, colourAt(x, y)) : colourAt(x, y))
                << x << "," << y;
}

TEST(ApplyHueSaturation, RefusesOffsetsBeyondFullScale) {
    DibBlock working = testing::MakeUniformRgb(1, 1, kRed);
    DibBlock image = testing::CopyOf(working.dib());
    EXPECT_FALSE(ApplyHueSaturation(image.dib(), working.dib(), CDibImage{}, 0, 256, 0));
    EXPECT_FALSE(ApplyHueSaturation(image.dib(), working.dib(), CDibImage{}, 0, 0, -300));
}

TEST(RgbToHsv, EveryColourGivesThePlainIntegerFormulas) {
    for (int red = 0; red < 256; ++red)
        for (int green = 0; green < 256; ++green)
            for (int blue = 0; blue < 256; ++blue) {
                const int max = std::max({red, green, blue});
                const int min = std::min({red, green, blue});
                int saturation = 0, hue = 0;
                if (max != 0 && (max - min) * 255 / max != 0) {
                    const int diff = max - min;
                    saturation = diff * 255 / max;
                    hue = red == max     ? (green - blue) * 60 / diff
                          : green == max ? (blue - red) * 60 / diff + 120
                                         : (red - green) * 60 / diff + 240;
                    hue += hue < 0 ? 360 : 0;
                }
                const HsvColour hsv = RgbToHsv(red, green, blue);
                ASSERT_EQ(hsv.value, max) << red << "," << green << "," << blue;
                ASSERT_EQ(hsv.saturation, saturation) << red << "," << green << "," << blue;
                ASSERT_EQ(hsv.hue, hue) << red << "," << green << "," << blue;
            }
}

TEST(SmallDivision, EqualsTheBuiltInDivisionForEveryNumeratorAndLevel) {
    for (int d = 1; d < 256; ++d)
        for (int n = 0; n <= 65535; ++n) {
            ASSERT_EQ(SmallDivision::Divide(n, d), n / d) << n << " / " << d;
            ASSERT_EQ(SmallDivision::DivideSigned(-n, d), -n / d) << -n << " / " << d;
        }
}

} // namespace
} // namespace halvera
