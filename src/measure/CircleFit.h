#pragma once

#include "image/PixelGeometry.h"

#include <optional>
#include <span>

namespace halvera {

// A circle with the RMS distance of the points it was fitted to from it.
struct FittedEdgeCircle {
    SubPixelPoint centre;
    double radius = 0.0;
    double residual = 0.0;
};

// The circle through `points` in two steps. The algebraic fit (Kasa: least
// squares of x^2 + y^2 + D x + E y + F, one linear solve) needs no start
// but leans toward smaller circles when the points are noisy; the geometric
// fit (Gauss-Newton on the true distances from the circle) starts from it and
// removes that lean. Nothing for fewer than three points, points on one line,
// or a fit that does not settle.
std::optional<FittedEdgeCircle> FitCircle(std::span<const SubPixelPoint> points);

} // namespace halvera
