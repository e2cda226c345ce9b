// The colour mode a scanner in a grey mode is switched to.
#include "acquire/ScanColourMode.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

std::vector<ScanOption> ModeOption(std::vector<std::string> offered, std::string current) {
    ScanOption mode;
    mode.name = kScanOptionMode;
    mode.type = ScanValueType::String;
    mode.constraint = ScanConstraint::StringList;
    mode.texts = std::move(offered);
    mode.value = std::move(current);
    ScanOption resolution;
    resolution.name = kScanOptionResolution;
    resolution.value = 75;
    return {resolution, mode};
}

TEST(ScanColourMode, AGreyScannerThatOffersColourIsSwitchedToIt) {
    EXPECT_EQ(ColourModeToChoose(ModeOption({"Gray", "Color"}, "Gray")), "Color");
    EXPECT_EQ(ColourModeToChoose(ModeOption({"Lineart", "Halftone", "Gray", "Color"}, "Lineart")),
              "Color");
    // Backends with names of their own: the first that names colour.
    EXPECT_EQ(
        ColourModeToChoose(ModeOption({"True Gray", "24bit Color", "48bit Color"}, "True Gray")),
        "24bit Color");
    EXPECT_EQ(ColourModeToChoose(ModeOption({"Grey", "Colour"}, "Grey")), "Colour");
}

TEST(ScanColourMode, NothingChangesWithoutAGreyModeOrWithoutColour) {
    EXPECT_FALSE(ColourModeToChoose(ModeOption({"Gray", "Color"}, "Color")));
    EXPECT_FALSE(ColourModeToChoose(ModeOption({"Gray", "24bit Color"}, "24bit Color")));
    EXPECT_FALSE(ColourModeToChoose(ModeOption({"Lineart", "Gray"}, "Gray")));
    std::vector<ScanOption> fixed = ModeOption({"Gray", "Color"}, "Gray");
    fixed[1].settable = false;
    EXPECT_FALSE(ColourModeToChoose(fixed)) << "a mode the frontend may not set";
    std::vector<ScanOption> inactive = ModeOption({"Gray", "Color"}, "Gray");
    inactive[1].active = false;
    EXPECT_FALSE(ColourModeToChoose(inactive));
    EXPECT_FALSE(ColourModeToChoose({ModeOption({}, "")[0]})) << "no mode option at all";
}

} // namespace
} // namespace halvera
