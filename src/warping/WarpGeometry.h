#pragma once

#include "image/PixelGeometry.h"

#include <array>

namespace halvera {

// The four corners of a warp frame, always in the order the frame tools keep
// them: top-right, top-left, bottom-left, bottom-right.
enum QuadCorner { kTopRight = 0, kTopLeft = 1, kBottomLeft = 2, kBottomRight = 3 };
using QuadCorners = std::array<PixelPoint, 4>;

// The frame the zoom, rotate and free-transform tools start from around a
// region box: it runs along the outside of the box's right and bottom pixels,
// so the corners are (right + 1, top), (left, top), (left, bottom + 1) and
// (right + 1, bottom + 1). The same corners stay the source rectangle of every
// later render of the tool.
constexpr QuadCorners RegionBoxCorners(const PixelRect& box) {
    return QuadCorners{PixelPoint{box.right + 1, box.top}, PixelPoint{box.left, box.top},
                       PixelPoint{box.left, box.bottom + 1},
                       PixelPoint{box.right + 1, box.bottom + 1}};
}

} // namespace halvera
