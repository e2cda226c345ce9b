#include "processing/GrayscaleImage.h"

#include "image/RegionOfInterest.h"
#include "processing/LuminanceRows.h"
#include "processing/OperandCheck.h"

namespace halvera {

bool GrayscaleImage(const CDibImage& image, const CDibImage& mask) {
    if (!IsRgbImage(image) || !MaskFits(mask, image))
        return false;
    const RegionOfInterest region(mask);
    // Bottom row first: the rows then follow one another upwards in memory,
    // the order in which the processor fetches ahead best.
    for (int32_t y = image.height - 1; y >= 0; --y)
        GreyRow(image.row(y), region.maskRow(y), image.width());
    return true;
}

} // namespace halvera
