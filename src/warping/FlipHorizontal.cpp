#include "warping/FlipHorizontal.h"

#include "warping/WarpBuffers.h"

#include <cstring>

namespace halvera {

namespace {

// Copies `image` into `working` and reverses the order of its rows from there
// (padding included), working from the outside in one pair of rows at a time:
// both rows are copied, then each is written over the other from its copy,
// still in the cache, so the image is read once instead of twice.
void CopyAndReverseRows(const CDibImage& image, const CDibImage& working) {
    const auto headerBytes =
        static_cast<size_t>(image.bits - reinterpret_cast<const uint8_t*>(image.header));
    std::memcpy(working.header, image.header, headerBytes);
    const auto rowBytes = static_cast<size_t>(image.stride);
    for (int32_t top = 0, bottom = image.height - 1; top <= bottom; ++top, --bottom) {
        std::memcpy(working.row(top), image.row(top), rowBytes);
        if (top == bottom)
            break;
        std::memcpy(working.row(bottom), image.row(bottom), rowBytes);
        std::memcpy(image.row(top), working.row(bottom), rowBytes);
        std::memcpy(image.row(bottom), working.row(top), rowBytes);
    }
}

} // namespace

bool FlipHorizontal(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                    const CDibImage& savedMask) {
    if (!AreWarpImages(image, working) ||
        !AreWarpMasks(mask, savedMask, image.width(), image.height))
        return false;

    CopyAndReverseRows(image, working);
    if (!mask.empty())
        CopyAndReverseRows(mask, savedMask);
    return true;
}

} // namespace halvera
