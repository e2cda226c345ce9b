#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"
#include "image/RegionOfInterest.h"
#include "view/PaintCanvas.h"

namespace halvera {

inline constexpr int kMaxFillTolerance = 100;

// The fill tool: paints `fill` over the 8-connected piece of fillable pixels
// that holds `seed`. A pixel is fillable when each of its channels lies within
// the seed colour's channel +- `tolerance` (cut to 0..255; the ranges come
// from the seed only and do not drift), when it differs from `fill`, and, when
// a region exists, when its mask byte is 255. Scan-line fill with a growing
// stack of row spans (never recursion): each filled span looks at the rows
// above and below from one column before to one after it. Works in place.
//
// Returns 1 when filled, 0 when refused (seed outside the image or the region,
// or already of the fill colour: nothing changes), -1 when the span stack
// could not grow: the fill stopped, keeping the pixels filled so far.
int FloodFillColor(const CDibImage& image, const RegionOfInterest& roi, PixelPoint seed,
                   ColourRef fill, int tolerance);

} // namespace halvera
