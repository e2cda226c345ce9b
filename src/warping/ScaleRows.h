#pragma once

#include <cstdint>

namespace halvera {

// The zoom's two blends on rows of `count` channel bytes, with the fixed-point
// weights of ScaleWeights.h, in the widest vector code the processor offers
// (chosen at run time). Not in place: `out` overlaps none of the inputs.

// Across a row: out[i] = left[i] + AcrossByWeight(right[i] - left[i], weights[i]).
void BlendAcrossRow(const uint8_t* left, const uint8_t* right, const uint16_t* weights,
                    uint8_t* out, int32_t count);

// Down between two rows: out[i] = top[i] + DownByWeight(bottom[i] - top[i], weight).
void BlendDownRow(const uint8_t* top, const uint8_t* bottom, uint16_t weight, uint8_t* out,
                  int32_t count);

} // namespace halvera
