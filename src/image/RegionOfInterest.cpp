#include "image/RegionOfInterest.h"

namespace halvera {

bool MaskHasRegion(const CDibImage& mask) {
    if (mask.empty() || mask.height <= 0)
        return false;
    const int32_t width = mask.width();
    // Bottom row first, in the order of the rows in memory, which the
    // processor's prefetching follows.
    for (int32_t y = mask.height - 1; y >= 0; --y) {
        // OR the whole row, then test once: this loop vectorises, where an
        // early exit per byte would not.
        const uint8_t* row = mask.row(y);
        uint8_t any = 0;
        for (int32_t x = 0; x < width; ++x)
            any |= row[x];
        if (any != 0)
            return true;
    }
    return false;
}

} // namespace halvera
