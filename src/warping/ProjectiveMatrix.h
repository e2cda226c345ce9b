#pragma once

#include "warping/WarpGeometry.h"

#include <array>
#include <optional>

namespace halvera {

// A 3 x 3 projective mapping in double precision, m[row][column]:
//   w = m[2][0]·x + m[2][1]·y + m[2][2]
//   u = (m[0][0]·x + m[0][1]·y + m[0][2]) / w
//   v = (m[1][0]·x + m[1][1]·y + m[1][2]) / w
struct ProjectiveMatrix {
    std::array<std::array<double, 3>, 3> m{};
};

// The mapping that sends each corner of `from` to the same corner of `to`
// (both in the order top-right, top-left, bottom-left, bottom-right), built
// as the mapping from the unit square onto `to` after the inverse of the one
// onto `from`. Empty when `from` is degenerate (three corners on one line, or
// all on one point), so no mapping exists, or when a coefficient overflows.
std::optional<ProjectiveMatrix> QuadToQuad(const QuadCorners& from, const QuadCorners& to);

} // namespace halvera
