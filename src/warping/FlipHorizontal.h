#pragma once

#include "image/DibImage.h"

namespace halvera {

// "Horizontal flip": mirrors the image top to bottom (about the horizontal
// axis), so that row y receives row H - 1 - y; the mask is mirrored with it.
//
// The whole image is flipped whatever the region of interest. The image is
// first copied into `working` and the mask into `savedMask`, then both are
// flipped from those copies (not in place), so afterwards the copies hold the
// state before the flip. Empty masks (no region) are left alone.
//
// False, with nothing touched, when `image` and `working` are not distinct
// 24-bit images of one size or the masks are not planes of that size.
bool FlipHorizontal(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                    const CDibImage& savedMask);

} // namespace halvera
