#include "measure/LineGuides.h"

#include "measure/MeasureColors.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

TEST(LineGuides, GuidesStandPerpendicularToTheLine) {
    EXPECT_EQ(LineGuideOffset({0, 5}, {40, 5}, 100), (PixelPoint{0, 100}));
    EXPECT_EQ(LineGuideOffset({7, 0}, {7, 40}, 100), (PixelPoint{100, 0}));
    // Up and to the right at 45 degrees: g = 1, h = 100 / sqrt 2.
    EXPECT_EQ(LineGuideOffset({0, 10}, {10, 0}, 100), (PixelPoint{70, 70}));
    // Down and to the right: g = -1, the guide along the other diagonal.
    EXPECT_EQ(LineGuideOffset({0, 0}, {10, 10}, 100), (PixelPoint{70, -70}));
}

TEST(LineGuides, ArrowKeysChangeTheLengthInStepsOfTenWithinLimits) {
    EXPECT_EQ(LongerGuide(100), 110);
    EXPECT_EQ(LongerGuide(1020), 1030) << "still shorter than 1024";
    EXPECT_EQ(LongerGuide(1030), 1030);
    EXPECT_EQ(ShorterGuide(100), 90);
    EXPECT_EQ(ShorterGuide(40), 30);
    EXPECT_EQ(ShorterGuide(30), 30);
}

TEST(MeasureColors, StoredIndexPicksTheColourAndAStrayOneTheRoleDefault) {
    AppSettings settings;
    EXPECT_EQ(MeasureColorOf(settings, MeasureColorRole::Coordinate).name, "Red");
    EXPECT_EQ(MeasureColorOf(settings, MeasureColorRole::Line).name, "Green");
    EXPECT_EQ(MeasureColorOf(settings, MeasureColorRole::Point).name, "Blue");
    EXPECT_EQ(MeasureColorOf(settings, MeasureColorRole::Text).name, "Yellow");

    MeasureColorSetting(settings, MeasureColorRole::Line) = 6;
    const MeasureColor& cyan = MeasureColorOf(settings, MeasureColorRole::Line);
    EXPECT_EQ(cyan.name, "Cyan");
    EXPECT_EQ((std::array<int, 3>{cyan.red, cyan.green, cyan.blue}),
              (std::array<int, 3>{0, 255, 255}));
    EXPECT_EQ(settings.MTColor2, 6);

    settings.MTColor4 = 8;
    EXPECT_EQ(MeasureColorOf(settings, MeasureColorRole::Text).name, "Yellow");
    settings.MTColor1 = -1;
    EXPECT_EQ(MeasureColorOf(settings, MeasureColorRole::Coordinate).name, "Red");
}

// The error colour stands out from the labels whatever colour they have.
TEST(MeasureColors, TheErrorColourIsRedOrMagentaBesideRedLabels) {
    AppSettings settings;
    EXPECT_EQ(MeasureErrorColorOf(settings).name, "Red");
    for (int index = 0; index < static_cast<int>(kMeasureColors.size()); ++index) {
        MeasureColorSetting(settings, MeasureColorRole::Text) = index;
        const std::string_view error = MeasureErrorColorOf(settings).name;
        EXPECT_EQ(error, index == 2 ? "Magenta" : "Red");
        EXPECT_NE(error, MeasureColorOf(settings, MeasureColorRole::Text).name);
    }
}

} // namespace
} // namespace halvera
