#pragma once

#include "image/DibImage.h"

namespace halvera {

// The checks every image operation makes before it touches a pixel, so that a
// descriptor of the wrong depth or size can never make a loop read or write
// outside its block.

// A 24-bit image whose rows hold its width. An image of width or height 0
// passes: the operations then have nothing to do.
inline bool IsRgbImage(const CDibImage& image) {
    return !image.empty() && image.bitCount() == 24 && image.width() >= 0 && image.height >= 0 &&
           image.stride >= 3 * image.width();
}

inline bool SameSize(const CDibImage& a, const CDibImage& b) {
    return a.width() == b.width() && a.height == b.height;
}

// No mask (or one of height 0, which holds no region), or an 8-bit plane of
// the image's size.
inline bool MaskFits(const CDibImage& mask, const CDibImage& image) {
    if (mask.empty() || mask.height == 0)
        return true;
    return mask.bitCount() == 8 && SameSize(mask, image) && mask.stride >= mask.width();
}

// A point operation may write its result over its own source.
inline bool PointOperands(const CDibImage& destination, const CDibImage& source,
                          const CDibImage& mask) {
    return IsRgbImage(destination) && IsRgbImage(source) && SameSize(destination, source) &&
           MaskFits(mask, destination);
}

// A neighbourhood operation reads pixels after it has written their
// neighbours, so its source must be a separate block.
inline bool NeighbourhoodOperands(const CDibImage& destination, const CDibImage& source,
                                  const CDibImage& mask) {
    return PointOperands(destination, source, mask) && destination.bits != source.bits;
}

} // namespace halvera
