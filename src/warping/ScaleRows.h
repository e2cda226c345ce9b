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

// Gathers `blocks` blocks of 16 bytes from `row`: block b reads the 32 bytes
// at row + bases[b]; its 64 index bytes at indices + 64 b give, per output
// byte, its place in the window's lower half (0..15, or 0x80 when it lies in
// the upper half) and then in the upper half, first for `left` and then for
// `right`, which may be null.
void GatherBlocks(const uint8_t* row, const uint32_t* bases, const uint8_t* indices, int32_t blocks,
                  uint8_t* left, uint8_t* right);

} // namespace halvera
