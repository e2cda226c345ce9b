#pragma once

#include "image/DibImage.h"
#include "processing/BrightnessContrastTables.h"

namespace halvera {

// Sets the brightness of `tables` to `percent` (-100..100, offset
// 255 * percent / 100 truncated) and recomputes every selected pixel of
// `destination` from `source` (the unchanged working copy) as
// clamp(curve[v] + offset) per channel, with the contrast curve `tables`
// already holds. Never accumulates: each call starts again from the source.
// Destination and source may be the same image. No neighbours.
// False, with nothing touched, for a percent out of range or images that do
// not fit together (24-bit, same size, mask an 8-bit plane of that size).
bool ApplyBrightness(BrightnessContrastTables& tables, const CDibImage& destination,
                     const CDibImage& source, const CDibImage& mask, int percent);

} // namespace halvera
