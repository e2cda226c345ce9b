#include "view/RegionOfInterest.h"

#include <algorithm>

namespace halvera {

bool MaskHasRegion(const CDibImage& mask) {
    if (mask.empty() || mask.height <= 0)
        return false;
    const int32_t width = mask.width();
    for (int32_t y = 0; y < mask.height; ++y) {
        const uint8_t* row = mask.row(y);
        if (std::any_of(row, row + width, [](uint8_t b) { return b != 0; }))
            return true;
    }
    return false;
}

} // namespace halvera
