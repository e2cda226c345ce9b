#pragma once

#include "image/DibImage.h"
#include "processing/Kernel3x3.h"

namespace halvera {

// The four directional differences (row order NW, N, NE, W, C, E, SW, S, SE).
inline constexpr Kernel3x3 kHorizontalEdgeKernel{{0, 1, 0, 0, 0, 0, 0, -1, 0}}; // |N - S|
inline constexpr Kernel3x3 kVerticalEdgeKernel{{0, 0, 0, 1, 0, -1, 0, 0, 0}};   // |W - E|
inline constexpr Kernel3x3 kUpRightEdgeKernel{{0, 0, -1, 0, 0, 0, 1, 0, 0}};    // |SW - NE|
inline constexpr Kernel3x3 kDownLeftEdgeKernel{{1, 0, 0, 0, 0, 0, 0, 0, -1}};   // |NW - SE|

// Each channel becomes min(|sum of weight x neighbour|, 255) for `kernel`
// (weights -255..255). Replicate border. Reads `source` (the working copy),
// writes the selected pixels of `destination`; not in place.
// False, with nothing touched, for a weight out of range or images that do
// not fit together.
bool EdgeDirectional(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                     const Kernel3x3& kernel);

} // namespace halvera
