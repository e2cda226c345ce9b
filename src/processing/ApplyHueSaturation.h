#pragma once

#include "image/DibImage.h"

namespace halvera {

// Rotates the hue of every selected pixel of `source` by `hueShift` degrees
// (any whole number; the new hue is taken modulo 360) and adds
// `saturationOffset` and `brightnessOffset` (levels, -255..255) to its
// saturation and value, clamped to 0..255, in the integer HSV model of
// RgbToHsv / HsvToRgb; the result goes into `destination`. A slider percent s
// is the offset 255 * s / 100 truncated (PercentToLevels). A grey pixel has hue
// 0 and saturation 0, so a positive saturation offset gives it the hue
// `hueShift`. Divisions truncate toward zero. Destination and source may be
// the same image. No neighbours.
// False, with nothing touched, for an offset out of range or images that do
// not fit together.
bool ApplyHueSaturation(const CDibImage& destination, const CDibImage& source,
                        const CDibImage& mask, int hueShift, int saturationOffset,
                        int brightnessOffset);

} // namespace halvera
