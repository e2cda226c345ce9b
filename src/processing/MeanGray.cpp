#include "processing/MeanGray.h"

#include "image/RegionOfInterest.h"
#include "processing/LuminanceTables.h"
#include "processing/OperandCheck.h"

namespace halvera {

std::optional<uint32_t> MeanGray(const CDibImage& source, const CDibImage& mask) {
    if (!IsRgbImage(source) || !MaskFits(mask, source))
        return std::nullopt;
    const RegionOfInterest region(mask);
    const LuminanceTables luminance;
    const int32_t width = source.width();
    // 64 bits: a white image of more than 16.8 million pixels overflows 32.
    uint64_t sum = 0;
    uint64_t count = 1;
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* p = source.row(y);
        const uint8_t* selection = region.maskRow(y);
        for (int32_t x = 0; x < width; ++x, p += 3) {
            if (RegionOfInterest::Selected(selection, x)) {
                sum += static_cast<uint64_t>(luminance(p));
                ++count;
            }
        }
    }
    return static_cast<uint32_t>(sum / count);
}

} // namespace halvera
