#pragma once

#include "image/DibImage.h"

namespace halvera {

// Replaces every pixel by its grey level (30 R + 59 G + 11 B) / 100, rounded
// down, in all three channels; the image stays 24-bit. Works in place on
// `image`; with a region in `mask` only selected pixels change. No neighbours.
// False, with nothing touched, when `image` is not a 24-bit image or the mask
// is not an 8-bit plane of its size.
bool GrayscaleImage(const CDibImage& image, const CDibImage& mask);

} // namespace halvera
