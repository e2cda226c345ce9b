#pragma once

#include "image/DibImage.h"

namespace halvera {

// Adds a level offset (-255..255) to each channel of every selected pixel of
// `source` and writes clamp(R + red), clamp(G + green), clamp(B + blue) into
// `destination`. Positive offsets move toward red, green and blue, negative
// ones toward cyan, magenta and yellow; a slider percent s is the offset
// 255 * s / 100 truncated (PercentToLevels). Destination and source may be
// the same image. No neighbours, no rounding.
// False, with nothing touched, for an offset out of range or images that do
// not fit together.
bool ApplyColorBalance(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                       int redOffset, int greenOffset, int blueOffset);

} // namespace halvera
