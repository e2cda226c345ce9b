#pragma once

#include "image/PixelGeometry.h"

#include <cstdint>
#include <functional>
#include <span>

namespace halvera {

// The scan-line rule of the polygon fills, shared by the selection mask and
// the annotation colours so that the same points cover the same pixels.
//
// Rule: edges join consecutive points and the last point to the first;
// horizontal edges are dropped; an edge covers the rows y_top <= y < y_bottom,
// starting at x_top and stepping by (x_bottom - x_top) / (y_bottom - y_top) in
// double precision per row. On each row the crossing edges are sorted by x and
// the runs between the first and second, third and fourth, ... crossing are
// reported from trunc(x_left + 0.5) to trunc(x_right + 0.5) inclusive, limited
// to the points' bounding box and to 0..width-1, 0..height-1.
//
// `span(y, from, to)` receives every run, from <= to, rows downward.
// Returns 1 when done, 0 when fewer than two non-horizontal edges remain
// (nothing reported), -1 when the edge lists cannot be allocated (nothing
// reported).
using PolygonSpan = std::function<void(int32_t y, int32_t from, int32_t to)>;
int ScanPolygon(std::span<const PixelPoint> points, int32_t width, int32_t height,
                const PolygonSpan& span);

} // namespace halvera
