#pragma once

#include "image/DibImage.h"

namespace halvera {

constexpr int kDefaultReferenceLevel = 128;

// Field shade correction: divides the working copy by a reference image of an
// empty field and scales by `level` (0..255). Each channel becomes
// min(255, (copy * level) div reference), or 255 where the reference channel
// is 0. With `limitToRegion` and a region in `mask`, only selected pixels are
// computed and the others get the working copy's values; otherwise every
// pixel is computed. Writes `image`, reads `working` and `reference`.
//
// All three are 24-bit images of one size; `mask` is empty or an 8-bit plane
// of that size. Returns false, touching nothing, when they are not.
bool ApplyReference(const CDibImage& image, const CDibImage& working, const CDibImage& reference,
                    const CDibImage& mask, int level, bool limitToRegion);

} // namespace halvera
