#include "view/ClearSelection.h"

#include "image/RegionOfInterest.h"

#include <cstring>

namespace halvera {

namespace {

void ZeroPixels(const CDibImage& plane) {
    for (int32_t y = 0; y < plane.height; ++y)
        std::memset(plane.row(y), 0, static_cast<size_t>(plane.width()));
}

} // namespace

bool ClearSelection(const CDibImage& mask, const CDibImage& savedMask) {
    if (!MaskHasRegion(mask))
        return false;
    ZeroPixels(mask);
    if (!savedMask.empty() && savedMask.width() == mask.width() &&
        savedMask.height == mask.height && savedMask.bitCount() == 8)
        ZeroPixels(savedMask);
    return true;
}

} // namespace halvera
