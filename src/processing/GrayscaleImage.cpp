#include "processing/GrayscaleImage.h"

#include "image/RegionOfInterest.h"
#include "processing/LuminanceRows.h"
#include "processing/OperandCheck.h"

namespace halvera {

bool GrayscaleImage(const CDibImage& image, const CDibImage& mask) {
    if (!IsRgbImage(image) || !MaskFits(mask, image))
        return false;
    const RegionOfInterest region(mask);
    for (int32_t y = 0; y < image.height; ++y)
        GreyRow(image.row(y), region.maskRow(y), image.width());
    return true;
}

} // namespace halvera
