#pragma once

#include "image/DibImage.h"
#include "processing/EdgeNorm.h"

namespace halvera {

// Sobel on each channel: Gy = (NW + 2N + NE) - (SW + 2S + SE),
// Gx = (NE + 2E + SE) - (NW + 2W + SW), output the norm of the two (by
// default min(|Gx| + |Gy|, 255)). Replicate border. Reads `source` (the
// working copy), writes the selected pixels of `destination`; not in place.
// False, with nothing touched, for an unknown norm or images that do not fit
// together.
bool EdgeSobel(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
               EdgeNorm norm = EdgeNorm::SumOfAbsolutes);

} // namespace halvera
