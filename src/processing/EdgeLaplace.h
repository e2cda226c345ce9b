#pragma once

#include "image/DibImage.h"

namespace halvera {

// Laplace on each channel: N + S + W + E - 4 C clamped to 0..255 (negative
// responses become 0; no absolute value is taken). Replicate border. Reads
// `source` (the working copy), writes the selected pixels of `destination`;
// not in place. False, with nothing touched, when the images do not fit
// together.
bool EdgeLaplace(const CDibImage& destination, const CDibImage& source, const CDibImage& mask);

} // namespace halvera
