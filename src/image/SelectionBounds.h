#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"

namespace halvera {

// The smallest inclusive rectangle holding every mask byte equal to 255.
// When no byte is 255 (no region, or a region made only of bytes 1..254) the
// bounds are the whole image, (0, 0, W - 1, H - 1). Row padding is not looked at.
PixelRect SelectionBounds(const CDibImage& mask);

} // namespace halvera
