#pragma once

#include "image/DibImage.h"
#include "processing/EdgeNorm.h"

namespace halvera {

// Roberts cross on each channel: the norm of C - SE and S - E (by default
// min(|C - SE| + |S - E|, 255)). Replicate border, so the last column and row
// compare a pixel with itself in one or both terms. Reads `source` (the
// working copy), writes the selected pixels of `destination`; not in place.
// False, with nothing touched, for an unknown norm or images that do not fit
// together.
bool EdgeRoberts(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                 EdgeNorm norm = EdgeNorm::SumOfAbsolutes);

} // namespace halvera
