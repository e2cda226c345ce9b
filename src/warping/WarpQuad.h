#pragma once

#include "image/DibImage.h"
#include "warping/WarpGeometry.h"

namespace halvera {

// Warps the `source` quadrilateral of `working` (normally a rectangle: the
// corners a frame tool started from) projectively onto the `destination`
// quadrilateral of `image`, as the rotate and free-transform tools render.
// Corners are in the order top-right, top-left, bottom-left, bottom-right.
//
// Every destination pixel inside the quadrilateral is mapped back through the
// projective matrix taking `destination` onto `source` to a source position
// (u, v). Rows are filled from the quadrilateral's top to its bottom (a row y
// is crossed by an edge running from y0 to y1 when y0 <= y < y1); each span
// between a pair of sorted edge crossings runs from its left to its right end,
// both rounded to the nearest pixel and clipped to columns 0..W-1. Rows outside
// 0..H-2 are skipped.
//
// A position is inside the source when 0 <= u < W-1 and 0 <= v < H-1, so its
// truncation has a right and a lower neighbour; other pixels keep their values.
// With a region (any non-zero byte in `savedMask`) the mask is cleared and each
// inside pixel takes the saved-mask byte at (trunc(u), trunc(v)) (nearest
// neighbour); only where that byte is 255 does the image take the bilinear
// sample of `working` at (u, v) (see Bilinear.h).
//
// Pixels not written keep their values: callers restore `image` from `working`
// first. Not in place: `image` and `working` are distinct blocks. The rows are
// shared out among worker threads, joined before the call returns; each pixel
// is computed on its own, so the result never depends on the split.
//
// A degenerate destination (fewer than two non-horizontal edges, or three
// corners on one line so that no mapping exists) changes nothing and is not a
// failure. False, with nothing touched, when the buffers do not match (see
// WarpBuffers.h) or a work table cannot be allocated.
bool WarpQuad(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
              const CDibImage& savedMask, const QuadCorners& source,
              const QuadCorners& destination);

} // namespace halvera
