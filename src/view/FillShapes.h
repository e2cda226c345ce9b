#pragma once

#include "image/PixelGeometry.h"
#include "view/PaintCanvas.h"

#include <span>

namespace halvera {

// The annotation tools' solid shapes. Each paints through a PaintCanvas (so
// only selected pixels change when a region exists), skips whatever lies
// outside the image and works in place.

// Every pixel from left to right and top to bottom inclusive (corners in any
// order).
void FillRectColor(const PaintCanvas& canvas, const PixelRect& rect);

// The midpoint ellipse inscribed in `rect`, filled (the marquee's stepping).
void FillEllipseColor(const PaintCanvas& canvas, const PixelRect& rect);

// The closed polygon through `points` by the scan-line rule of the mask
// polygon fill (see PolygonScan.h). Returns 1 when done, 0 when fewer than two
// non-horizontal edges remain (nothing painted), -1 when out of memory
// (nothing painted).
int FillPolygonColor(const PaintCanvas& canvas, std::span<const PixelPoint> points);

} // namespace halvera
