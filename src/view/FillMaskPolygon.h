#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"

#include <cstdint>
#include <span>

namespace halvera {

// Fills the closed polygon through `points` (the last point joins the first)
// into the mask with `value`, by scan lines over the points' bounding box.
//
// Rule: horizontal edges are dropped; an edge covers the rows
// y_top <= y < y_bottom, starting at x_top and stepping by
// (x_bottom - x_top) / (y_bottom - y_top) in double precision per row. On each
// row the crossing edges are sorted by x and pixels are filled between the
// first and second, third and fourth, ..., from trunc(x_left + 0.5) to
// trunc(x_right + 0.5) inclusive, limited to the bounding box and the mask.
// Works in place.
//
// Returns 1 when done, 0 when fewer than two non-horizontal edges remain (one
// point, or all points on one row: nothing is filled), -1 when the edge lists
// cannot be allocated (the mask is unchanged).
int FillMaskPolygon(const CDibImage& mask, std::span<const PixelPoint> points, uint8_t value);

} // namespace halvera
