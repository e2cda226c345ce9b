#pragma once

#include "image/DibImage.h"

#include <cstdint>
#include <optional>

namespace halvera {

// The mean grey level of the selected pixels of `source` (all pixels without a
// region): the sum of each pixel's (30 R + 59 G + 11 B) / 100, rounded down,
// divided by a count that starts at 1, rounded down. So N pixels give
// sum / (N + 1), and an empty selection gives 0. The brightness/contrast
// adjustment stretches about this level. Reads only.
// Empty when `source` is not a 24-bit image or the mask does not fit it.
std::optional<uint32_t> MeanGray(const CDibImage& source, const CDibImage& mask);

} // namespace halvera
