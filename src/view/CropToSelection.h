#pragma once

#include "image/DibImage.h"

namespace halvera {

// "Crop": sets every pixel of the 24-bit `image` whose mask byte is not 255 to
// white (255, 255, 255); the image keeps its size. Returns false and changes
// nothing when the mask holds no region (so no undo step is needed). A region
// made only of bytes 1..254 selects nothing: the whole image turns white.
// Works in place; the mask must have the image's size.
bool CropToSelection(const CDibImage& image, const CDibImage& mask);

} // namespace halvera
