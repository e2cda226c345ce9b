#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"

#include <cstdint>

namespace halvera {

// Replaces `oldValue` by `newValue` in the piece of the mask that holds `seed`
// and is 8-connected (pixels touching only at a corner belong to it). Scan-line
// fill with a stack of row spans: every filled span looks at the rows above
// and below from one column before to one column after it. Works in place.
//
// Returns 1 when done, 0 when refused (no mask, seed outside the mask, seed
// byte not `oldValue`, or both values equal: nothing changes), -1 when the
// span stack could not grow: the fill stopped part way and the caller must
// restore the mask (the undo step it opened does that).
//
// `filledBounds`, when given, receives the inclusive bounding box of the
// pixels filled (meaningless after a refusal).
int FloodFillMask(const CDibImage& mask, PixelPoint seed, uint8_t oldValue, uint8_t newValue,
                  PixelRect* filledBounds = nullptr);

} // namespace halvera
