#pragma once

#include "image/DibImage.h"

namespace halvera {

// "Vertical flip": mirrors the image left to right (about the vertical axis),
// so that pixel (x, y) receives pixel (W - 1 - x, y); the mask is mirrored
// with it.
//
// The whole image is flipped whatever the region of interest. The image is
// first copied into `working` and the mask into `savedMask`, then both are
// flipped from those copies (not in place). Row padding is left as it was.
// Empty masks (no region) are left alone.
//
// False, with nothing touched, when `image` and `working` are not distinct
// 24-bit images of one size or the masks are not planes of that size.
bool FlipVertical(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                  const CDibImage& savedMask);

} // namespace halvera
