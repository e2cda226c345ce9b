#pragma once

#include "image/DibImage.h"
#include "processing/BrightnessContrastTables.h"

#include <cstdint>

namespace halvera {

// Rebuilds the contrast curve of `tables` for `percent` (-100..100) about
// `meanGray` (see BrightnessContrastTables::SetContrast) and recomputes every
// selected pixel of `destination` from `source` (the unchanged working copy)
// as clamp(curve[v] + offset) per channel, with the brightness offset
// `tables` already holds. Divisions truncate toward zero. Destination and
// source may be the same image. No neighbours.
// False, with nothing touched, for a percent or mean out of range or images
// that do not fit together.
bool ApplyContrast(BrightnessContrastTables& tables, const CDibImage& destination,
                   const CDibImage& source, const CDibImage& mask, uint32_t meanGray, int percent);

} // namespace halvera
