#pragma once

#include "image/DibImage.h"

namespace halvera {

// The second half of Cut, once CopySelection's picture is safely on the
// clipboard: turns white the selected pixels (mask byte 255), or the whole
// image when there is no region. Works in place.
void WhitenSelection(const CDibImage& image, const CDibImage& mask);

} // namespace halvera
