#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"
#include "image/PixelGeometry.h"

namespace halvera {

// Turns a pasted picture into the document's paste image: the picture must
// pass PackedDibDepth (sides 1..30000, no compression) with depth 1, 4, 8 or
// 24 and hold its full palette and rows; `paste` is then created as a 24-bit
// image of the picture's size and filled (palette depths through their colour
// tables). False, with `paste` released, for anything else or when memory is
// short.
bool LoadPasteImage(const PackedDib& picture, DibBlock& paste);

// Where a paste starts: the top-left corner of the selection bounds when the
// mask holds a region, else (0, 0).
PixelPoint PastePosition(const CDibImage& mask);

// Writes paste pixel (j, i) to image pixel (at.x + j, at.y + i) where that
// lies inside the image and, when the mask holds a region, only where the
// mask byte is 255. Pixels falling outside are dropped. Works in place on
// `image`; the mask must have the image's size.
void PasteImage(const CDibImage& image, const CDibImage& paste, const CDibImage& mask,
                PixelPoint at);

} // namespace halvera
