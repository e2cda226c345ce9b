#include "view/CropToSelection.h"

#include "image/RegionOfInterest.h"

namespace halvera {

bool CropToSelection(const CDibImage& image, const CDibImage& mask) {
    if (image.empty() || mask.width() != image.width() || mask.height != image.height ||
        !MaskHasRegion(mask))
        return false;
    const int32_t width = image.width();
    for (int32_t y = 0; y < image.height; ++y) {
        uint8_t* p = image.row(y);
        const uint8_t* m = mask.row(y);
        for (int32_t x = 0; x < width; ++x, p += 3) {
            // OR with 255 whitens, with 0 keeps: no branch, so the row vectorises.
            const uint8_t whiten = IsSelectedByte(m[x]) ? 0 : 255;
            p[0] |= whiten;
            p[1] |= whiten;
            p[2] |= whiten;
        }
    }
    return true;
}

} // namespace halvera
