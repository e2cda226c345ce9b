#include "view/CopySelection.h"

#include "image/RegionOfInterest.h"
#include "image/SelectionBounds.h"
#include "view/PackImage.h"

#include <cstring>

namespace halvera {

PackedDib CopySelection(const CDibImage& image, const CDibImage& mask) {
    if (image.empty())
        return {};
    if (!MaskHasRegion(mask))
        return PackImage(image);
    if (mask.width() != image.width() || mask.height != image.height)
        return {};

    const PixelRect bounds = SelectionBounds(mask);
    DibBlock copy;
    if (!CreateRgb(copy, bounds.width(), bounds.height()))
        return {};
    const CDibImage target = copy.dib();
    // White everywhere (row padding included, so the picture is the same
    // every time), then the selected pixels.
    std::memset(target.bits, 255, static_cast<size_t>(target.bitsSize));
    for (int32_t y = 0; y < target.height; ++y) {
        const uint8_t* m = mask.row(bounds.top + y) + bounds.left;
        const uint8_t* from = image.row(bounds.top + y) + 3 * bounds.left;
        uint8_t* to = target.row(y);
        for (int32_t x = 0; x < target.width(); ++x, from += 3, to += 3) {
            if (IsSelectedByte(m[x])) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
        }
    }
    return PackImage(target);
}

} // namespace halvera
