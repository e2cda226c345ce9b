#pragma once

#include "image/PixelGeometry.h"
#include "view/PaintCanvas.h"

#include <cstdint>
#include <span>

namespace halvera {

// The annotation brush: a disc `size` pixels across (1..100 from the tools).
// All of these paint through a PaintCanvas (colour, clipping, region) and work
// in place.

inline constexpr int kMinBrushSize = 1;
inline constexpr int kMaxBrushSize = 100;

// One disc centred on `centre`: with t = size - 1 the box runs from
// centre - t / 2 to centre + t / 2 + t % 2 on each axis; its corners are
// clamped into the image and the midpoint ellipse inscribed in the clamped box
// is filled, so near a border the disc is squeezed rather than cut off. Size 1
// is one pixel. A centre outside the image paints nothing (clamping it would
// smear the disc along the border). Sizes below 1 count as 1.
void StampBrush(const PaintCanvas& canvas, PixelPoint centre, int size);

// Discs along the Bresenham line from `from` to `to`: one at the start, then
// one at every further line point, the end point included.
void StrokeLine(const PaintCanvas& canvas, PixelPoint from, PixelPoint to, int size);

// The outline of a rectangle (corners in any order): a disc at every pixel of
// the top and bottom rows, left to right, then of the left and right columns,
// top to bottom. The caller clamps the rectangle first where it should.
void StrokeRectangle(const PaintCanvas& canvas, const PixelRect& rect, int size);

// A disc at every point of the midpoint ellipse outline inscribed in `rect`.
void StrokeEllipse(const PaintCanvas& canvas, const PixelRect& rect, int size);

// Every edge of the closed polygon (the last point joined to the first).
// Fewer than two points paint nothing.
void StrokePolygon(const PaintCanvas& canvas, std::span<const PixelPoint> points, int size);

} // namespace halvera
