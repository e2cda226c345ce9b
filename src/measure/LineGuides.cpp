#include "measure/LineGuides.h"

#include <cmath>

namespace halvera {

PixelPoint LineGuideOffset(PixelPoint start, PixelPoint end, int length) {
    if (start.y == end.y)
        return {0, length};
    const double g = static_cast<double>(end.x - start.x) / static_cast<double>(start.y - end.y);
    const double h = length * std::sqrt(1.0 / (g * g + 1.0));
    return {static_cast<int32_t>(h), static_cast<int32_t>(g * h)};
}

int LongerGuide(int length) {
    return length < 1024 ? length + 10 : length;
}

int ShorterGuide(int length) {
    return length > 30 ? length - 10 : length;
}

} // namespace halvera
