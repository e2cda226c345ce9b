#include "image/SelectionBounds.h"

#include "image/RegionOfInterest.h"

#include <algorithm>
#include <cstring>

namespace halvera {

PixelRect SelectionBounds(const CDibImage& mask) {
    const int32_t width = mask.width();
    const PixelRect whole{0, 0, width - 1, mask.height - 1};
    if (mask.empty() || width <= 0 || mask.height <= 0)
        return whole;

    PixelRect bounds{width, mask.height, -1, -1};
    for (int32_t y = 0; y < mask.height; ++y) {
        const uint8_t* row = mask.row(y);
        const auto* first = static_cast<const uint8_t*>(std::memchr(row, 255, width));
        if (first == nullptr)
            continue;
        // Only the part outside the columns already known can widen the bounds.
        const auto left = static_cast<int32_t>(first - row);
        const uint8_t* last = row + width - 1;
        const uint8_t* stop = row + std::max(left, bounds.right);
        while (last > stop && !IsSelectedByte(*last))
            --last;
        bounds.left = std::min(bounds.left, left);
        if (IsSelectedByte(*last))
            bounds.right = std::max(bounds.right, static_cast<int32_t>(last - row));
        if (bounds.bottom < 0)
            bounds.top = y;
        bounds.bottom = y;
    }
    return bounds.bottom < 0 ? whole : bounds;
}

} // namespace halvera
