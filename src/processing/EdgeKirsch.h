#pragma once

#include "image/DibImage.h"

namespace halvera {

// Kirsch compass on each channel: for each of the eight runs of three
// consecutive ring neighbours (ring order NW, N, NE, E, SE, S, SW, W) the sum
// 5 x (the three) - 3 x (the other five), the centre weighing 0; the output
// is the largest of 0 and the eight sums, clamped to 255. Replicate border.
// Reads `source` (the working copy), writes the selected pixels of
// `destination`; not in place. False, with nothing touched, when the images
// do not fit together.
bool EdgeKirsch(const CDibImage& destination, const CDibImage& source, const CDibImage& mask);

} // namespace halvera
