#pragma once

#include "image/PixelGeometry.h"

#include <span>

namespace halvera {

// The mean position of `points`, which must not be empty. The fits work in
// coordinates relative to it, which keeps their sums well conditioned far
// from the image origin.
inline SubPixelPoint Centroid(std::span<const SubPixelPoint> points) {
    double sumX = 0.0;
    double sumY = 0.0;
    for (const SubPixelPoint p : points) {
        sumX += p.x;
        sumY += p.y;
    }
    const auto count = static_cast<double>(points.size());
    return {sumX / count, sumY / count};
}

} // namespace halvera
