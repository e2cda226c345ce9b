#include "processing/ApplyHueSaturation.h"

#include "image/RegionOfInterest.h"
#include "processing/ClampTable.h"
#include "processing/HueSaturationRows.h"
#include "processing/OperandCheck.h"

namespace halvera {

bool ApplyHueSaturation(const CDibImage& destination, const CDibImage& source,
                        const CDibImage& mask, int hueShift, int saturationOffset,
                        int brightnessOffset) {
    if (!PointOperands(destination, source, mask) || !IsLevelOffset(saturationOffset) ||
        !IsLevelOffset(brightnessOffset))
        return false;
    // (hue + shift) mod 360 made non-negative, with the shift reduced first so
    // that no shift can overflow.
    int hue = hueShift % 360;
    if (hue < 0)
        hue += 360;
    const HueSaturationShift shift{hue, saturationOffset, brightnessOffset};
    const RegionOfInterest region(mask);
    const int32_t width = destination.width();
    // Bottom row first: the rows then follow one another upwards in memory,
    // the order in which the processor fetches ahead best.
    for (int32_t y = destination.height - 1; y >= 0; --y)
        HueSaturationRow(source.row(y), destination.row(y), region.maskRow(y), width, shift);
    return true;
}

} // namespace halvera
