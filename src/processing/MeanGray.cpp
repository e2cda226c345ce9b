#include "processing/MeanGray.h"

#include "image/RegionOfInterest.h"
#include "processing/LuminanceRows.h"
#include "processing/OperandCheck.h"

namespace halvera {

std::optional<uint32_t> MeanGray(const CDibImage& source, const CDibImage& mask) {
    if (!IsRgbImage(source) || !MaskFits(mask, source))
        return std::nullopt;
    const RegionOfInterest region(mask);
    // 64 bits: a white image of more than 16.8 million pixels overflows 32.
    uint64_t sum = 0;
    uint64_t count = 1; // one more than the pixels summed
    // Bottom row first: the rows then follow one another upwards in memory,
    // the order in which the processor fetches ahead best.
    for (int32_t y = source.height - 1; y >= 0; --y) {
        const LuminanceSum row = SumLuminanceRow(source.row(y), region.maskRow(y), source.width());
        sum += row.sum;
        count += row.count;
    }
    return static_cast<uint32_t>(sum / count);
}

} // namespace halvera
