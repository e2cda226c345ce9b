#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"

namespace halvera {

// The whole block of `image` (header, palette for 8-bit planes, rows) as a
// packed DIB, the form the clipboard and Paste exchange. Empty for an empty
// image or when the memory is not there. The image is not changed.
PackedDib PackImage(const CDibImage& image);

} // namespace halvera
