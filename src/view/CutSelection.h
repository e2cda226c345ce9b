#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"

namespace halvera {

// Cut: the picture of CopySelection, after which every pixel copied turns
// white in `image`: the selected pixels (mask byte 255), or the whole image
// when there is no region. When the picture cannot be made (memory short)
// the result is empty and the image is left as it was, so nothing is lost.
PackedDib CutSelection(const CDibImage& image, const CDibImage& mask);

// The second half of Cut, for callers that place the picture first: turns
// white the selected pixels, or the whole image when there is no region.
void WhitenSelection(const CDibImage& image, const CDibImage& mask);

} // namespace halvera
