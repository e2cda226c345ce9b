#include "view/CutSelection.h"

#include "image/RegionOfInterest.h"

#include <cstring>

namespace halvera {

void WhitenSelection(const CDibImage& image, const CDibImage& mask) {
    const RegionOfInterest roi(mask);
    if (roi.exists() && (mask.width() != image.width() || mask.height != image.height))
        return;
    const int32_t width = image.width();
    for (int32_t y = 0; y < image.height; ++y) {
        uint8_t* p = image.row(y);
        const uint8_t* m = roi.maskRow(y);
        if (m == nullptr) {
            std::memset(p, 255, static_cast<size_t>(width) * 3);
            continue;
        }
        for (int32_t x = 0; x < width; ++x, p += 3) {
            const uint8_t whiten = IsSelectedByte(m[x]) ? 255 : 0;
            p[0] |= whiten;
            p[1] |= whiten;
            p[2] |= whiten;
        }
    }
}

} // namespace halvera
