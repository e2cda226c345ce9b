#pragma once

#include "SyntheticImages.h"
#include "image/DibImage.h"

#include <functional>
#include <string>

namespace halvera::testing {

// An image operation in the shape every operation here shares: destination,
// source (the working copy), mask.
using ImageOperation = std::function<bool(const CDibImage& destination, const CDibImage& source,
                                          const CDibImage& mask)>;

// A block of the same size and depth holding the same bytes, padding included.
DibBlock CopyOf(const CDibImage& image);

// Runs `operation` the way the view does: the destination starts as a copy of
// `source`; returns the destination. Fails the test when the operation refuses.
DibBlock RunOn(const ImageOperation& operation, const CDibImage& source,
               const CDibImage& mask = CDibImage{});

// A grey level as a 24-bit colour.
inline Bgr Grey(uint8_t level) {
    return Bgr{level, level, level};
}

// A black image with one pixel of `level` at (x, y).
DibBlock SinglePixel(int width, int height, int x, int y, uint8_t level);

// A mask selecting the pixels for which `selected(x, y)` holds.
DibBlock MaskWhere(int width, int height, const std::function<bool(int x, int y)>& selected);

} // namespace halvera::testing
