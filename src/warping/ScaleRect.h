#pragma once

#include "image/DibImage.h"
#include "warping/WarpGeometry.h"

namespace halvera {

// The largest destination width or height a scaling renders; wider or higher
// destination rectangles are cut to it (their right or bottom part is dropped).
constexpr int32_t kMaxScaledExtent = 10240;

// Scales the `source` box of `working` onto the `destination` rectangle of
// `image`, axis-aligned, as the zoom tool renders.
//
// `destination` is given by two opposite corners as (left, top, right,
// bottom), both inclusive. A right edge left of the left edge mirrors the
// result left to right; a bottom above the top mirrors it top to bottom. With
// dw = right - left + 1 and sw = source.width() (likewise for heights), the
// destination pixel at offset o from the leading edge samples the source at
// source.left + o * sw / dw.
//
// With a region (any non-zero byte in `savedMask`) the mask is cleared and
// every written destination pixel takes the saved-mask byte of its source
// pixel (nearest neighbour, the truncated position); only pixels whose new
// mask byte is 255 receive image pixels. The new mask therefore marks exactly
// where selected pixels went.
//
// Image pixels are bilinear samples of `working` (see Bilinear.h). Only
// destination columns 0..W-2 and rows 0..H-2 are written, and only source
// positions whose truncation lies in 0..W-2 by 0..H-2 are used, so every
// sample has its right and lower neighbour. Pixels outside the rectangle, or
// whose sample falls outside, keep their values: callers restore `image` from
// `working` first. Not in place: `image` and `working` are distinct blocks.
//
// False, with nothing touched, when the buffers do not match (see
// WarpBuffers.h), the source box does not lie inside the image or is empty,
// or a work table cannot be allocated.
bool ScaleRect(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
               const CDibImage& savedMask, const PixelRect& source, const PixelRect& destination);

} // namespace halvera
