#pragma once

#include "image/PixelGeometry.h"

#include <optional>
#include <span>

namespace halvera {

// A straight line through `centre` along the unit vector `direction`, with
// the RMS distance of the points it was fitted to.
struct FittedLine {
    SubPixelPoint centre;
    SubPixelPoint direction;
    double residual = 0.0;

    // Signed distance of `p` from the line, positive along Normal().
    double DistanceOf(SubPixelPoint p) const {
        return (p.x - centre.x) * Normal().x + (p.y - centre.y) * Normal().y;
    }
    // The unit normal (-dy, dx).
    SubPixelPoint Normal() const { return {-direction.y, direction.x}; }
    // The foot of the perpendicular from `p`.
    SubPixelPoint Projection(SubPixelPoint p) const {
        const double along = (p.x - centre.x) * direction.x + (p.y - centre.y) * direction.y;
        return {centre.x + along * direction.x, centre.y + along * direction.y};
    }
};

// The total least squares line through `points`: through their centroid,
// along the principal axis of their scatter, so that the sum of squared
// perpendicular distances is least whatever the line's angle (an ordinary
// regression of y on x would be biased by noise in x and fail on steep
// lines). Nothing for fewer than two points or points that all coincide.
std::optional<FittedLine> FitLine(std::span<const SubPixelPoint> points);

} // namespace halvera
