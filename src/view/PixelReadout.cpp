#include "view/PixelReadout.h"

#include <array>
#include <charconv>

namespace halvera {

namespace {

// The calibration units by the settings' RulerUnit index.
constexpr std::array<const char*, 5> kUnitNames = {"um", "mm", "cm", "dcm", "inch"};

constexpr double kDefaultRealSize = 100.0;
constexpr int kDefaultPixelSize = 100;

std::string Fixed3(double value) {
    std::array<char, 64> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 3);
    return std::string(text.data(), result.ptr);
}

// Real units per pixel on one axis; 1.0 when the pixel size is not positive.
double Scale(double realSize, int pixelSize) {
    return pixelSize > 0 ? realSize / pixelSize : 1.0;
}

} // namespace

bool IsDefaultCalibration(const AppSettings& settings) {
    return settings.RulerUnit == 0 && settings.xRealRulerData == kDefaultRealSize &&
           settings.yRealRulerData == kDefaultRealSize &&
           settings.xPixelRulerData == kDefaultPixelSize &&
           settings.yPixelRulerData == kDefaultPixelSize;
}

std::string PixelReadout(const CDibImage& image, PixelPoint pixel, const AppSettings& settings) {
    if (image.empty() || pixel.x < 0 || pixel.y < 0 || pixel.x >= image.width() ||
        pixel.y >= image.height)
        return {};
    const uint8_t* bgr = image.row(pixel.y) + static_cast<ptrdiff_t>(pixel.x) * 3;
    std::string text = "x=" + std::to_string(pixel.x) + " y=" + std::to_string(pixel.y) + " RGB(" +
                       std::to_string(bgr[2]) + "," + std::to_string(bgr[1]) + "," +
                       std::to_string(bgr[0]) + ")";
    if (IsDefaultCalibration(settings))
        return text;
    const bool knownUnit = settings.RulerUnit >= 0 && settings.RulerUnit < 5;
    const char* unit = kUnitNames[knownUnit ? static_cast<size_t>(settings.RulerUnit) : 0];
    text += " (" + Fixed3(pixel.x * Scale(settings.xRealRulerData, settings.xPixelRulerData)) +
            ", " + Fixed3(pixel.y * Scale(settings.yRealRulerData, settings.yPixelRulerData)) +
            " " + unit + ")";
    return text;
}

} // namespace halvera
