#pragma once

#include "image/PixelGeometry.h"
#include "measure/GreyPatch.h"

#include <optional>

namespace halvera {

// The Sobel gradient of image pixel (x, y), whose 3 x 3 neighbourhood must
// lie in the patch: the direction in which the levels rise, scaled by how
// fast (eight times the slope per pixel on a plane).
inline SubPixelPoint SobelGradient(const GreyPatch& patch, int32_t x, int32_t y) {
    const float* above = patch.Row(y - 1) + (x - patch.left());
    const float* here = patch.Row(y) + (x - patch.left());
    const float* below = patch.Row(y + 1) + (x - patch.left());
    const double gx = (above[1] - above[-1]) + 2.0 * (here[1] - here[-1]) + (below[1] - below[-1]);
    const double gy = (below[-1] - above[-1]) + 2.0 * (below[0] - above[0]) + (below[1] - above[1]);
    return {gx, gy};
}

// Whether pixel (x, y) has its 3 x 3 neighbourhood in the patch.
inline bool HasSobelNeighbourhood(const GreyPatch& patch, int32_t x, int32_t y) {
    return x > patch.left() && y > patch.top() && x < patch.left() + patch.width() - 1 &&
           y < patch.top() + patch.height() - 1;
}

// The unit direction in which the levels rise around `p`: the Sobel
// gradients of the 3 x 3 pixels around the one covering it, summed, which
// steadies the direction against noise. Nothing where the patch has no room
// or the levels are flat.
std::optional<SubPixelPoint> RisingDirection(const GreyPatch& patch, SubPixelPoint p);

} // namespace halvera
