#pragma once

#include "image/DibImage.h"

namespace halvera {

// A median on whole pixels, so the output is always one of the input colours,
// never a mix of channels. For each pixel the nine pixels of its 3x3
// neighbourhood are taken in column order NW, W, SW, N, C, S, NE, E, SE with
// their grey levels (30 R + 59 G + 11 B) / 100, rounded down; the levels are
// sorted and the one at position 5 counting from 0 (the sixth smallest, one
// above the middle) is chosen; the first of the nine pixels in that order
// with this level is written. Replicate border. Reads `source` (the working
// copy), writes the selected pixels of `destination`; not in place.
// False, with nothing touched, when the images do not fit together.
bool FilterMedian(const CDibImage& destination, const CDibImage& source, const CDibImage& mask);

} // namespace halvera
