#include "warping/FrameGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace halvera {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

PixelPoint Midpoint(PixelPoint a, PixelPoint b) {
    return PixelPoint{(a.x + b.x) / 2, (a.y + b.y) / 2};
}

} // namespace

FrameHandles FrameHandlePoints(const QuadCorners& c) {
    return FrameHandles{c[0], Midpoint(c[0], c[1]), c[1], Midpoint(c[1], c[2]),
                        c[2], Midpoint(c[2], c[3]), c[3], Midpoint(c[3], c[0])};
}

int HitFrameHandle(const FrameHandles& handles, PixelPoint point, int tolerance) {
    for (size_t k = 0; k < handles.size(); ++k)
        if (std::abs(handles[k].x - point.x) <= tolerance &&
            std::abs(handles[k].y - point.y) <= tolerance)
            return static_cast<int>(k);
    return -1;
}

bool IsInsideQuad(const QuadCorners& corners, PixelPoint point) {
    bool inside = false;
    for (size_t k = 0, previous = corners.size() - 1; k < corners.size(); previous = k++) {
        const PixelPoint a = corners[k];
        const PixelPoint b = corners[previous];
        if ((a.y > point.y) == (b.y > point.y))
            continue;
        const double crossing =
            a.x + static_cast<double>(b.x - a.x) * (point.y - a.y) / static_cast<double>(b.y - a.y);
        if (point.x < crossing)
            inside = !inside;
    }
    return inside;
}

double AngleAround(RealPoint centre, RealPoint point) {
    const double dx = point.x - centre.x;
    const double dy = point.y - centre.y;
    const double distance = std::hypot(dx, dy);
    if (distance == 0.0)
        return 0.0;
    const double angle = std::acos(std::clamp(dx / distance, -1.0, 1.0));
    return dy > 0.0 ? kTwoPi - angle : angle;
}

int OctantOf(double angle) {
    const double eighth = kTwoPi / 8.0;
    const auto octant = static_cast<int>(std::floor(angle / eighth + 0.5));
    return ((octant % 8) + 8) % 8;
}

double WrapAngleOnce(double value) {
    if (value < 0.0)
        return value + kTwoPi;
    if (value >= kTwoPi)
        return value - kTwoPi;
    return value;
}

} // namespace halvera
