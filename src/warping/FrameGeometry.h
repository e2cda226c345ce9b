#pragma once

#include "warping/WarpGeometry.h"

#include <array>

namespace halvera {

// Geometry the interactive warp frames share: their handles, what lies inside
// them, and directions around a centre.

// Frame corners are kept within -kMaxFrameCoordinate..kMaxFrameCoordinate.
constexpr int32_t kMaxFrameCoordinate = 10240;

// The eight handles of a frame: corner 0, the midpoint of edge 0-1, corner 1,
// midpoint 1-2, corner 2, midpoint 2-3, corner 3, midpoint 3-0. Midpoints are
// halved with truncation.
using FrameHandles = std::array<PixelPoint, 8>;
FrameHandles FrameHandlePoints(const QuadCorners& corners);

// The first handle within `tolerance` of `point` in x and in y, or -1.
int HitFrameHandle(const FrameHandles& handles, PixelPoint point, int tolerance);

// True when `point` lies inside the quadrilateral (even-odd rule, so a frame
// turned inside out still has an inside).
bool IsInsideQuad(const QuadCorners& corners, PixelPoint point);

// A point with real coordinates (image pixels, y downwards).
struct RealPoint {
    double x = 0.0;
    double y = 0.0;
};

constexpr RealPoint ToReal(PixelPoint p) {
    return RealPoint{static_cast<double>(p.x), static_cast<double>(p.y)};
}

// The direction from `centre` to `point`, counter-clockwise from +x with y
// up, in 0..2π: the arc cosine of dx / distance, or 2π minus it when the point
// lies below the centre. 0 when the two points coincide.
double AngleAround(RealPoint centre, RealPoint point);

// The octant 0..7 of a direction: octant k holds the directions within 22.5
// degrees of k × 45 degrees.
int OctantOf(double angle);

// `value` brought back into 0..2π (2π itself becoming 0) by one addition or
// subtraction of 2π.
double WrapAngleOnce(double value);

} // namespace halvera
