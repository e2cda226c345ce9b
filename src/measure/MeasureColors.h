#pragma once

#include "image/AppSettings.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace halvera {

// The eight colours the measurement marks can take, in the order of the
// "Color" dialog's lists.
struct MeasureColor {
    std::string_view name;
    uint8_t red, green, blue;
};
inline constexpr std::array<MeasureColor, 8> kMeasureColors = {{
    {"Black", 0, 0, 0},
    {"White", 255, 255, 255},
    {"Red", 255, 0, 0},
    {"Green", 0, 255, 0},
    {"Blue", 0, 0, 255},
    {"Yellow", 255, 255, 0},
    {"Cyan", 0, 255, 255},
    {"Magenta", 255, 0, 255},
}};

// What each of the four measurement colour settings paints.
enum class MeasureColorRole : int {
    Coordinate = 0, // MTColor1: the small crosses on defining points
    Line = 1,       // MTColor2: lines, circles, rectangle edges, angle arms
    Point = 2,      // MTColor3: point rings, the small squares, the angle arc
    Text = 3,       // MTColor4: the value labels
};

// The setting of `role` (MTColor1..MTColor4).
int& MeasureColorSetting(AppSettings& settings, MeasureColorRole role);
// The colour `role` paints in: the stored index, or the role's default
// (red, green, blue, yellow) when the stored index is outside 0..7.
const MeasureColor& MeasureColorOf(const AppSettings& settings, MeasureColorRole role);

// The colour of the label of an item judged an Error (ItemJudgedError): red,
// or magenta when the labels' own colour is red, so that a failing item
// always stands out from the others.
const MeasureColor& MeasureErrorColorOf(const AppSettings& settings);

} // namespace halvera
