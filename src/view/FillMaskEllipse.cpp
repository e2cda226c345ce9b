#include "view/FillMaskEllipse.h"

#include "view/MidpointEllipse.h"

#include <algorithm>
#include <cstring>

namespace halvera {

void FillMaskEllipse(const CDibImage& mask, const PixelRect& bounds, uint8_t value) {
    if (mask.empty())
        return;
    const int32_t width = mask.width();
    const int32_t height = mask.height;
    MidpointEllipse(bounds).forEachSpan([&](int32_t y, int32_t left, int32_t right) {
        if (y < 0 || y >= height)
            return;
        left = std::max(left, 0);
        right = std::min(right, width - 1);
        if (left <= right)
            std::memset(mask.row(y) + left, value, static_cast<size_t>(right - left + 1));
    });
}

} // namespace halvera
