#pragma once

#include <cstdint>

namespace halvera {

// Row kernels of the grey level (30 R + 59 G + 11 B) / 100, truncated, for
// the grayscale and mean-grey operations. They run the widest vector code the
// processor offers (chosen at run time) and give exactly the bytes of the
// plain formula.
//
// `pixels` points at the first blue byte of `width` pixels; `selection` at
// the row's mask bytes, or null when there is no region (every pixel counts).
// With a selection only pixels whose byte is 255 take part.

// Sets the three channels of every selected pixel to its grey level.
void GreyRow(uint8_t* pixels, const uint8_t* selection, int32_t width);

// Writes the grey level of every pixel of the row (all pixels) to `levels`.
void LuminanceRow(const uint8_t* pixels, uint8_t* levels, int32_t width);

struct LuminanceSum {
    uint64_t sum = 0;   // grey levels of the selected pixels
    uint64_t count = 0; // selected pixels
};
LuminanceSum SumLuminanceRow(const uint8_t* pixels, const uint8_t* selection, int32_t width);

} // namespace halvera
