#pragma once

#include "image/DibImage.h"
#include "processing/Kernel3x3.h"

namespace halvera {

// A weighted 3x3 mean, each channel apart: with D = sum of |weight| (1 when
// that is 0) and bias = 128 - 128 * (sum of weights / D), a channel becomes
// bias + (sum of weight x neighbour) / D, clamped to 0..255; divisions
// truncate toward zero. A kernel of non-negative weights has bias 0 and never
// needs the clamp; a kernel summing to 0 is centred on grey 128.
// Replicate border. Reads `source` (the working copy), writes the selected
// pixels of `destination`; not in place.
// False, with nothing touched, for a weight outside -255..255 or images that
// do not fit together (24-bit, same size, separate blocks, mask an 8-bit
// plane of that size).
bool Convolve3x3Mean(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                     const Kernel3x3& kernel);

} // namespace halvera
