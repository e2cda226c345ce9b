#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"

#include <cstdint>

namespace halvera {

// Sets every mask byte of `rect` to `value` (255 selects, 0 deselects). The
// corners may come in any order and are both included, so a rectangle of zero
// width or height fills the pixels on its line and a single point fills one
// pixel. The part outside the mask is skipped. Works in place.
void FillMaskRect(const CDibImage& mask, PixelRect rect, uint8_t value);

} // namespace halvera
