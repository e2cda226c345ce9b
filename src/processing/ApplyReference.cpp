#include "processing/ApplyReference.h"

#include "image/RegionOfInterest.h"
#include "processing/OperandCheck.h"
#include "processing/ShadeTables.h"

#include <cstring>
#include <new>

namespace halvera {

bool ApplyReference(const CDibImage& image, const CDibImage& working, const CDibImage& reference,
                    const CDibImage& mask, int level, bool limitToRegion) {
    if (!PointOperands(image, working, mask) || !IsRgbImage(reference) ||
        !SameSize(reference, image) || level < 0 || level > 255)
        return false;
    const int32_t width = image.width();
    const int32_t height = image.height;

    std::unique_ptr<QuotientTable> table;
    try {
        table = std::make_unique<QuotientTable>(level);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const RegionOfInterest roi(mask);
    const bool limited = limitToRegion && roi.exists();
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* copy = working.row(y);
        const uint8_t* divisor = reference.row(y);
        uint8_t* out = image.row(y);
        if (!limited) {
            for (size_t i = 0; i < rowBytes; ++i)
                out[i] = table->quotients(divisor[i])[copy[i]];
            continue;
        }
        const uint8_t* m = roi.maskRow(y);
        for (int32_t x = 0; x < width; ++x, copy += 3, divisor += 3, out += 3) {
            if (RegionOfInterest::Selected(m, x)) {
                for (int c = 0; c < 3; ++c)
                    out[c] = table->quotients(divisor[c])[copy[c]];
            } else {
                std::memcpy(out, copy, 3);
            }
        }
    }
    return true;
}

} // namespace halvera
