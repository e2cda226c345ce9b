#pragma once

#include "image/DibImage.h"
#include "processing/EdgeNorm.h"

namespace halvera {

// Prewitt on each channel: Gy = (NW + N + NE) - (SW + S + SE),
// Gx = (NW + W + SW) - (NE + E + SE), output the norm of the two (by default
// min(|Gx| + |Gy|, 255)). Replicate border. Reads `source` (the working
// copy), writes the selected pixels of `destination`; not in place.
// False, with nothing touched, for an unknown norm or images that do not fit
// together.
bool EdgePrewitt(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                 EdgeNorm norm = EdgeNorm::SumOfAbsolutes);

} // namespace halvera
