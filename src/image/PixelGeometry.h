#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace halvera {

// A point in whole pixels, x to the right and y downward: an image pixel, or a
// window pixel in the view's arithmetic (ViewGeometry).
struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A position to a fraction of a pixel in the same image coordinates: x to the
// right, y downward, a pixel's centre at its whole coordinates (pixel column i
// covers [i - 0.5, i + 0.5)). Items measured on the picture's edges keep these.
struct SubPixelPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const SubPixelPoint&) const = default;
};

// The whole pixel that covers `p` (a half rounds up, as the pixel's extent says).
// The coordinates must lie within the range of a pixel coordinate.
inline PixelPoint NearestPixel(SubPixelPoint p) {
    return {static_cast<int32_t>(std::floor(p.x + 0.5)),
            static_cast<int32_t>(std::floor(p.y + 0.5))};
}

inline SubPixelPoint ExactPoint(PixelPoint p) {
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

// A rectangle in whole pixels given by two inclusive corners. The corners may
// come in any order (a drag from right to left gives left > right); use
// normalized() before walking it.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const PixelRect&) const = default;

    PixelRect normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
    }
    // Width and height counted in pixels, both corners included.
    int32_t width() const { return right - left + 1; }
    int32_t height() const { return bottom - top + 1; }
};

} // namespace halvera
