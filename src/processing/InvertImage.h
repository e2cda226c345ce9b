#pragma once

#include "image/DibImage.h"

namespace halvera {

// Turns the image into its colour negative: every channel v becomes 255 - v,
// so inverting twice restores the image exactly. Works in place on `image`
// (there is no separate source); with a region in `mask` only selected pixels
// change. Exact, no rounding, no neighbours.
// False, with nothing touched, when `image` is not a 24-bit image or the mask
// is not an 8-bit plane of its size.
bool InvertImage(const CDibImage& image, const CDibImage& mask);

} // namespace halvera
