#pragma once

#include <cstdint>

namespace halvera {

// Writes the `width` pixels of `from` into `to` in reverse order: pixel x of
// `to` becomes pixel width - 1 - x of `from`. Pixels are three bytes (blue,
// green, red) or one (a mask). The rows must not overlap. Vector code chosen
// at run time for the processor.
void MirrorRgbRow(const uint8_t* from, uint8_t* to, int32_t width);
void MirrorByteRow(const uint8_t* from, uint8_t* to, int32_t width);

} // namespace halvera
