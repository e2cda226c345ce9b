#include "processing/GrayscaleImage.h"

#include "image/RegionOfInterest.h"
#include "processing/LuminanceTables.h"
#include "processing/OperandCheck.h"

namespace halvera {

bool GrayscaleImage(const CDibImage& image, const CDibImage& mask) {
    if (!IsRgbImage(image) || !MaskFits(mask, image))
        return false;
    const RegionOfInterest region(mask);
    const LuminanceTables luminance;
    const int32_t width = image.width();
    for (int32_t y = 0; y < image.height; ++y) {
        uint8_t* p = image.row(y);
        const uint8_t* selection = region.maskRow(y);
        for (int32_t x = 0; x < width; ++x, p += 3) {
            if (RegionOfInterest::Selected(selection, x)) {
                const auto grey = static_cast<uint8_t>(luminance(p));
                p[0] = grey;
                p[1] = grey;
                p[2] = grey;
            }
        }
    }
    return true;
}

} // namespace halvera
