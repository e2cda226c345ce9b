#pragma once

#include "image/DibImage.h"
#include "processing/Kernel3x3.h"

namespace halvera {

// The low-pass kernel: weights 2 3 2 / 3 5 3 / 2 3 2, summing to 25.
inline constexpr Kernel3x3 kLowPassKernel{{2, 3, 2, 3, 5, 3, 2, 3, 2}};

// Smooths each channel with the low-pass kernel: (sum of weight x neighbour)
// / 25, rounded down, through Convolve3x3Mean. Replicate border. Reads
// `source` (the working copy), writes the selected pixels of `destination`;
// not in place. False, with nothing touched, when the images do not fit
// together.
bool FilterLowPass(const CDibImage& destination, const CDibImage& source, const CDibImage& mask);

} // namespace halvera
