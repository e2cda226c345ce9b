#pragma once

#include "image/DibImage.h"

#include <array>
#include <cstdint>

namespace halvera {

// What the pieces of one warp's destination rows share: the mapping from a
// destination pixel back to its source position, and the buffers.
struct WarpRowJob {
    // The projective matrix (see ProjectiveMatrix.h), m[row][column].
    std::array<std::array<double, 3>, 3> m{};
    // True when m's last row is (0, 0, 1): w is 1 everywhere, and dividing by
    // it would change nothing, so the division is skipped.
    bool affine = false;
    CDibImage image;   // the destination, 24-bit
    CDibImage working; // the source, 24-bit, of the image's size and stride
    // The start of every source row, top row first (see WarpBuffers.h).
    uint8_t* const* sourceRows = nullptr;
    // With a region the mask is written and the saved mask read; both are
    // empty (and savedRows null) otherwise.
    bool region = false;
    CDibImage mask;
    uint8_t* const* savedRows = nullptr;
};

// Maps and writes columns first..last (inclusive, inside the image) of
// destination row y (0..height-2). Each pixel's source position is evaluated
// in double, in this order, so that it is bit for bit what the formula gives:
//   u = (m00·x + m01·y + m02) / w,  v = (m10·x + m11·y + m12) / w,
//   w = m20·x + m21·y + m22.
// A zero w gives an infinity or NaN, which the inside test rejects. A pixel
// whose position lies inside (0 <= u < W-1 and 0 <= v < H-1) takes the
// bilinear sample of the source at (u, v) (see Bilinear.h); with a region the
// mask first takes the saved-mask byte at (trunc(u), trunc(v)) and only a
// selected byte lets the pixel be written. Other pixels keep their values.
// Vector code chosen at run time for the processor; every instruction set
// gives the same bytes.
void WarpRowPiece(const WarpRowJob& job, int32_t y, int32_t first, int32_t last);

} // namespace halvera
