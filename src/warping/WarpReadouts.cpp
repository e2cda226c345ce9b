#include "warping/WarpReadouts.h"

#include <charconv>

namespace halvera {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// `value` in fixed notation with `decimals` places, rounded as printf rounds
// but never with a decimal comma.
std::string Fixed(double value, int decimals) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

} // namespace

std::string ZoomReadout(double horizontal, double vertical) {
    return "(Horz = " + Fixed(horizontal, 2) + "\xEF\xBC\x8C" + "Vert = " + Fixed(vertical, 2) +
           ")";
}

std::string AngleReadout(double radians) {
    std::string degrees = Fixed(radians * kDegreesPerRadian, 3);
    if (degrees == "360.000")
        degrees = "0.000";
    return "(Angle = " + degrees + ")";
}

} // namespace halvera
