#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"

namespace halvera {

// The picture that Copy puts on the clipboard, as a packed 24-bit DIB.
// Without a region it is the whole image, header and rows as held. With a
// region it has the size of the selection bounds, is white everywhere and
// holds every selected pixel (mask byte 255) at its offset from the bounds'
// top-left corner; a region of bytes 1..254 only gives a white picture of the
// image's size. Empty when the memory is not there. The image is not changed.
PackedDib CopySelection(const CDibImage& image, const CDibImage& mask);

} // namespace halvera
