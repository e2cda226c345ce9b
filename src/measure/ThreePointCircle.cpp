#include "measure/ThreePointCircle.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace halvera {

namespace {

using Extended = long double;

// trunc(value) when it fits a pixel coordinate.
std::optional<int32_t> TruncatedCoordinate(Extended value) {
    const Extended truncated = std::trunc(value);
    if (!(truncated >= std::numeric_limits<int32_t>::min() &&
          truncated <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(truncated);
}

} // namespace

std::optional<FittedCircle> FitThreePointCircle(PixelPoint p1, PixelPoint p2, PixelPoint p3) {
    const Extended x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y, x3 = p3.x, y3 = p3.y;
    if ((x1 - x3) * (y1 - y2) == (x1 - x2) * (y1 - y3))
        return std::nullopt;
    const Extended g = x2 * (y1 - y3) - x1 * (y2 - y3) - x3 * (y1 - y2);
    if (g == 0)
        return std::nullopt;
    const Extended s1 = x1 * x1 + y1 * y1;
    const Extended s2 = x2 * x2 + y2 * y2;
    const Extended s3 = x3 * x3 + y3 * y3;
    const Extended cx = -(s1 * (y2 - y3) + s2 * (y3 - y1) + s3 * (y1 - y2)) / (2 * g);
    const Extended cy = -(s1 * (x3 - x2) + s3 * (x2 - x1) + s2 * (x1 - x3)) / (2 * g);
    const auto centreX = TruncatedCoordinate(cx);
    const auto centreY = TruncatedCoordinate(cy);
    if (!centreX || !centreY)
        return std::nullopt;
    return FittedCircle{{*centreX, *centreY}, p1};
}

} // namespace halvera
