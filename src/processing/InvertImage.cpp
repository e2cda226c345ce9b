#include "processing/InvertImage.h"

#include "image/RegionOfInterest.h"
#include "processing/InvertRows.h"
#include "processing/OperandCheck.h"

namespace halvera {

// 255 - v is the bitwise complement of v: one vector instruction per 16 or 32
// bytes, where a 256-entry table would cost a load per byte.
bool InvertImage(const CDibImage& image, const CDibImage& mask) {
    if (!IsRgbImage(image) || !MaskFits(mask, image))
        return false;
    const RegionOfInterest region(mask);
    const int32_t width = image.width();
    // Bottom row first: the rows then follow one another upwards in memory,
    // the order in which the processor fetches ahead best.
    for (int32_t y = image.height - 1; y >= 0; --y) {
        uint8_t* p = image.row(y);
        const uint8_t* selection = region.maskRow(y);
        if (selection == nullptr) {
            InvertBytes(p, 3 * width);
        } else {
            for (int32_t x = 0; x < width; ++x, p += 3) {
                const uint8_t flip = RegionOfInterest::Selected(selection, x) ? 0xFF : 0x00;
                p[0] ^= flip;
                p[1] ^= flip;
                p[2] ^= flip;
            }
        }
    }
    return true;
}

} // namespace halvera
