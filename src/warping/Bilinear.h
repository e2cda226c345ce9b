#pragma once

#include <cstdint>

namespace halvera {

// The resampling rule every warp shares. For a source position (i + dx, j + dy)
// with 0 <= dx, dy < 1, each channel is interpolated along the upper row and
// along the lower row, each product truncated towards zero, then between the
// two rows with one final rounding:
//   top    = p(i, j)   + trunc(dx * (p(i+1, j)   - p(i, j)))
//   bottom = p(i, j+1) + trunc(dx * (p(i+1, j+1) - p(i, j+1)))
//   result = top + trunc((bottom - top) * dy + 0.5)
// `upper` points at pixel (i, j), `lower` at pixel (i, j + 1); both must have a
// right neighbour. Results stay within the four samples, so no clamp is needed.
inline void BilinearPixel(const uint8_t* upper, const uint8_t* lower, double dx, double dy,
                          uint8_t* out) {
    for (int c = 0; c < 3; ++c) {
        const int topLeft = upper[c];
        const int bottomLeft = lower[c];
        const int top = topLeft + static_cast<int>(dx * (upper[c + 3] - topLeft));
        const int bottom = bottomLeft + static_cast<int>(dx * (lower[c + 3] - bottomLeft));
        out[c] = static_cast<uint8_t>(top + static_cast<int>((bottom - top) * dy + 0.5));
    }
}

} // namespace halvera
