#pragma once

#include "print/PrintLayout.h"

namespace halvera {

// Where a title of `width` x `height` layout units goes until the user moves
// it: on the line just above the picture, from the picture's left edge, so
// that it never covers the picture. A picture that starts less than `height`
// below the paper's top moves down to make room, keeping its size (a
// real-size ratio stays exact).
LayoutRect PlaceTitleAbovePicture(PrintLayout& layout, int width, int height);

} // namespace halvera
