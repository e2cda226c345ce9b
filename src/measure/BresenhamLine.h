#pragma once

#include "image/PixelGeometry.h"

#include <cstdint>
#include <cstdlib>

namespace halvera {

// Visits every pixel of the integer Bresenham line from `from` to `to`, both
// ends included: it steps along the longer axis, the error term starts at
// minus the longer extent and adds twice the shorter extent per step, and when
// it becomes positive the walk steps along the shorter axis and subtracts
// twice the longer extent. The measurement lines, their hit test and the
// calibration ruler all walk lines this way, so what is drawn is what is hit.
template <typename Visit> void ForEachLinePixel(PixelPoint from, PixelPoint to, Visit visit) {
    const int64_t dx = std::llabs(int64_t{to.x} - from.x);
    const int64_t dy = std::llabs(int64_t{to.y} - from.y);
    const int32_t sx = to.x < from.x ? -1 : 1;
    const int32_t sy = to.y < from.y ? -1 : 1;
    const bool alongX = dx >= dy;
    const int64_t longer = alongX ? dx : dy;
    const int64_t shorter = alongX ? dy : dx;
    int64_t error = -longer;
    PixelPoint p = from;
    for (int64_t step = 0; step <= longer; ++step) {
        visit(p);
        error += 2 * shorter;
        if (error > 0) {
            (alongX ? p.y : p.x) += alongX ? sy : sx;
            error -= 2 * longer;
        }
        (alongX ? p.x : p.y) += alongX ? sx : sy;
    }
}

} // namespace halvera
