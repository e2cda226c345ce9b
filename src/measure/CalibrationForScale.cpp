#include "measure/CalibrationForScale.h"

#include <algorithm>
#include <cmath>

namespace halvera {

namespace {

constexpr double kLargestSize = 2000.0; // for the pixel and the real size alike

struct AxisSizes {
    int32_t pixels;
    double real;
};

std::optional<AxisSizes> SizesForScale(double scale) {
    if (!(scale > 0.0) || scale > kLargestSize)
        return std::nullopt;
    double pixels = std::clamp(std::floor(kLargestSize / scale), 1.0, kLargestSize);
    // The quotient may round up across a whole number.
    if (pixels * scale > kLargestSize && pixels > 1.0)
        pixels -= 1.0;
    return AxisSizes{static_cast<int32_t>(pixels), pixels * scale};
}

} // namespace

std::optional<CalibrationRecord> CalibrationForScale(int unit, MeasureScale scale) {
    const std::optional<AxisSizes> x = SizesForScale(scale.x);
    const std::optional<AxisSizes> y = SizesForScale(scale.y);
    if (!x || !y)
        return std::nullopt;
    return CalibrationRecord{unit, x->real, y->real, x->pixels, y->pixels};
}

} // namespace halvera
