#include "view/FillMaskRect.h"

#include <algorithm>
#include <cstring>

namespace halvera {

void FillMaskRect(const CDibImage& mask, PixelRect rect, uint8_t value) {
    if (mask.empty())
        return;
    rect = rect.normalized();
    const int32_t left = std::max(rect.left, 0);
    const int32_t right = std::min(rect.right, mask.width() - 1);
    const int32_t top = std::max(rect.top, 0);
    const int32_t bottom = std::min(rect.bottom, mask.height - 1);
    if (left > right || top > bottom)
        return;
    const auto count = static_cast<size_t>(right - left + 1);
    for (int32_t y = top; y <= bottom; ++y)
        std::memset(mask.row(y) + left, value, count);
}

} // namespace halvera
