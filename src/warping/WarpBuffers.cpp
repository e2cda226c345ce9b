#include "warping/WarpBuffers.h"

#include <new>

namespace halvera {

bool AreWarpImages(const CDibImage& image, const CDibImage& working) {
    return !image.empty() && !working.empty() && image.header != working.header &&
           image.bitCount() == 24 && working.bitCount() == 24 && working.width() == image.width() &&
           working.height == image.height && working.stride == image.stride;
}

bool IsPlaneOfSizeOrEmpty(const CDibImage& plane, int32_t width, int32_t height) {
    return plane.empty() ||
           (plane.bitCount() == 8 && plane.width() == width && plane.height == height);
}

bool AreWarpMasks(const CDibImage& mask, const CDibImage& savedMask, int32_t width,
                  int32_t height) {
    if (mask.empty() && savedMask.empty())
        return true;
    return !mask.empty() && !savedMask.empty() && mask.header != savedMask.header &&
           IsPlaneOfSizeOrEmpty(mask, width, height) &&
           IsPlaneOfSizeOrEmpty(savedMask, width, height);
}

bool RowTable::Build(const CDibImage& image) {
    rows_.reset();
    if (image.empty())
        return true;
    rows_.reset(new (std::nothrow) uint8_t*[static_cast<size_t>(image.height)]);
    if (!rows_)
        return false;
    uint8_t* row = image.end;
    for (int32_t y = 0; y < image.height; ++y) {
        row -= image.stride;
        rows_[y] = row;
    }
    return true;
}

} // namespace halvera
