#include "warping/FlipVertical.h"

#include "warping/WarpBuffers.h"

namespace halvera {

namespace {

// Reverses the order of the `width` pixels of `bytesPerPixel` bytes in every
// row, reading `source` and writing `target` (same stride and height).
template <int bytesPerPixel>
void ReversePixels(const CDibImage& target, const CDibImage& source, int32_t width) {
    const ptrdiff_t rowSpan = ptrdiff_t{width} * bytesPerPixel;
    const uint8_t* fromRow = source.bits;
    uint8_t* toRow = target.bits;
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* from = fromRow + rowSpan; // one past the last pixel
        uint8_t* to = toRow;
        for (uint8_t* const rowEnd = toRow + rowSpan; to != rowEnd; to += bytesPerPixel) {
            from -= bytesPerPixel;
            for (int c = 0; c < bytesPerPixel; ++c)
                to[c] = from[c];
        }
        fromRow += source.stride;
        toRow += target.stride;
    }
}

} // namespace

bool FlipVertical(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                  const CDibImage& savedMask) {
    if (!AreWarpImages(image, working) ||
        !AreWarpMasks(mask, savedMask, image.width(), image.height))
        return false;

    CopyBlock(working, image);
    ReversePixels<3>(image, working, image.width());
    if (!mask.empty()) {
        CopyBlock(savedMask, mask);
        ReversePixels<1>(mask, savedMask, mask.width());
    }
    return true;
}

} // namespace halvera
