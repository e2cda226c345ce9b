#include "measure/LineFit.h"

#include "measure/Centroid.h"

#include <cmath>

namespace halvera {

std::optional<FittedLine> FitLine(std::span<const SubPixelPoint> points) {
    if (points.size() < 2)
        return std::nullopt;
    const auto [meanX, meanY] = Centroid(points);
    double xx = 0.0;
    double xy = 0.0;
    double yy = 0.0;
    for (const SubPixelPoint p : points) {
        const double dx = p.x - meanX;
        const double dy = p.y - meanY;
        xx += dx * dx;
        xy += dx * dy;
        yy += dy * dy;
    }
    if (xx + yy == 0.0)
        return std::nullopt;
    // The major axis of the scatter matrix, in closed form.
    const double angle = 0.5 * std::atan2(2.0 * xy, xx - yy);
    FittedLine line{{meanX, meanY}, {std::cos(angle), std::sin(angle)}, 0.0};
    double squares = 0.0;
    for (const SubPixelPoint p : points) {
        const double d = line.DistanceOf(p);
        squares += d * d;
    }
    line.residual = std::sqrt(squares / static_cast<double>(points.size()));
    return line;
}

} // namespace halvera
