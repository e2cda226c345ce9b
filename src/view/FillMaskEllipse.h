#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"

#include <cstdint>

namespace halvera {

// Sets the mask bytes of the midpoint ellipse inscribed in `bounds` (corners
// in any order, both included) to `value`. Pixels outside the mask are
// skipped. Works in place. See MidpointEllipse for the stepping.
void FillMaskEllipse(const CDibImage& mask, const PixelRect& bounds, uint8_t value);

} // namespace halvera
