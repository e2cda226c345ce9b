#pragma once

#include "SyntheticImages.h"
#include "image/DibImage.h"
#include "view/PaintCanvas.h"

#include <string>

namespace halvera::testing {

// The colour reference of a test pixel colour.
constexpr ColourRef RefOf(Bgr c) {
    return MakeColourRef(c.red, c.green, c.blue);
}

// The rows of `image` from the top joined with '\n': '#' for pixels of
// `painted`, '.' for white, '?' for anything else.
std::string PaintArt(const CDibImage& image, Bgr painted);

// The same for the box of `width` x `height` pixels at (left, top).
std::string PaintArt(const CDibImage& image, Bgr painted, int left, int top, int width, int height);

} // namespace halvera::testing
