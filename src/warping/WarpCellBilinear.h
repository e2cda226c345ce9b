#pragma once

#include "image/DibImage.h"
#include "image/RegionOfInterest.h"
#include "warping/WarpGeometry.h"

namespace halvera {

// Fills one cell of a net warp: the destination rectangle `cell` of `image`,
// from (left, top) to (right, bottom) both inclusive, samples `working` at the
// bilinear blend of the four `source` points (top-right P0, top-left P1,
// bottom-left P2, bottom-right P3). With s = (x - left) / (right - left) and
// t = (y - top) / (bottom - top), pixel (x, y) samples
//   P1 + (P0 - P1)·s + (P2 - P1)·t + (P3 + P1 - P2 - P0)·s·t,
// so the cell's corners sample their own source points. The blend is computed
// over one common denominator, so a source point sitting on its destination
// corner reproduces the pixels exactly.
//
// Only destination pixels with 0 <= x < W-1 and 0 <= y < H-1 are written and,
// with a region of interest in `mask`, only those whose mask byte is 255; the
// mask itself is not changed. A source position (u, v) is used only when
// 0 <= u < W-1 and 0 <= v < H-1; the pixel takes the bilinear sample of
// `working` there (see Bilinear.h), other pixels keep their values. Not in
// place: `image` and `working` are distinct blocks.
//
// A cell of zero (or negative) width or height changes nothing. False, with
// nothing touched, when the buffers do not match (see WarpBuffers.h) or the
// row table cannot be allocated.
bool WarpCellBilinear(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                      const PixelRect& cell, const QuadCorners& source);

// The same with the region already looked up, for callers that render several
// cells under one mask: finding out whether a region exists reads the whole
// mask when there is none.
bool WarpCellBilinear(const CDibImage& image, const CDibImage& working, const RegionOfInterest& roi,
                      const PixelRect& cell, const QuadCorners& source);

} // namespace halvera
