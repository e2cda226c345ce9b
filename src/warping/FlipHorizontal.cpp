#include "warping/FlipHorizontal.h"

#include "warping/WarpBuffers.h"

#include <cstring>

namespace halvera {

namespace {

// Writes the rows of `source` into `target` in reverse order, padding included.
void ReverseRows(const CDibImage& target, const CDibImage& source) {
    const size_t rowBytes = static_cast<size_t>(source.stride);
    const uint8_t* from = source.bits; // bottom row of the source...
    uint8_t* to = target.end;          // ...becomes the top row of the target
    for (int32_t y = 0; y < source.height; ++y) {
        to -= rowBytes;
        std::memcpy(to, from, rowBytes);
        from += rowBytes;
    }
}

} // namespace

bool FlipHorizontal(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                    const CDibImage& savedMask) {
    if (!AreWarpImages(image, working) ||
        !AreWarpMasks(mask, savedMask, image.width(), image.height))
        return false;

    CopyBlock(working, image);
    ReverseRows(image, working);
    if (!mask.empty()) {
        CopyBlock(savedMask, mask);
        ReverseRows(mask, savedMask);
    }
    return true;
}

} // namespace halvera
