#pragma once

#include "image/PixelGeometry.h"

#include <optional>

namespace halvera {

// A circle as the measurement lists keep it: the centre and a point on it.
struct FittedCircle {
    PixelPoint centre;
    PixelPoint onCircle;
    bool operator==(const FittedCircle&) const = default;
};

// The circle through three clicked image points, computed in extended
// precision; the centre is truncated toward zero to whole pixels and the
// first point is kept as the point on the circle. Nothing when the points are
// collinear (a repeated point included), when the determinant g is zero, or
// when the centre lies beyond the range of a pixel coordinate.
std::optional<FittedCircle> FitThreePointCircle(PixelPoint p1, PixelPoint p2, PixelPoint p3);

} // namespace halvera
