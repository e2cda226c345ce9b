#pragma once

#include "image/PixelGeometry.h"
#include "view/PaintCanvas.h"

#include <array>

namespace halvera {

// The arrow sign: a filled seven-corner arrow with its tip at a point.
inline constexpr int kMinArrowSize = 8;
inline constexpr int kMaxArrowSize = 100;

// The corners for size s and angle `angle` (radians) with the tip at `tip`.
// In the arrow's own frame (tip at the origin, pointing toward -x) they are
// (0, 0), (s, s), (s, s/4), (2s, s/4), (2s, -s/4), (s, -s/4), (s, -s) in
// double precision; each is rotated by the angle and moved to the tip, and
// rounded as trunc(v + 0.5) (toward zero).
std::array<PixelPoint, 7> ArrowSignCorners(PixelPoint tip, int size, double angle);

// Fills the arrow by the polygon scan-line rule; works in place.
void DrawArrowSign(const PaintCanvas& canvas, PixelPoint tip, int size, double angle);

} // namespace halvera
