#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace halvera {

// A division by a constant as a 16-bit multiply-high and a shift:
// sum / divisor == (sum * multiplier) >> (16 + shift) for every sum in the
// range it was found for.
struct ExactDivision {
    uint16_t multiplier = 0;
    int shift = 0;
    int32_t divisor = 1;
};

// The multiply-high form of a division by `divisor` (1..65535), exact for
// every sum in 0..largestSum (at most 65535), or none when there is none.
std::optional<ExactDivision> FindExactDivision(int32_t divisor, int32_t largestSum);

// One row of the 3x3 weighted mean with non-negative weights (row order NW, N,
// NE, W, C, E, SW, S, SE) whose sum times 255 fits 16 bits: every channel
// byte of the row becomes (sum of weight x neighbour) / divisor, truncated,
// with the replicate border at the row's ends (the caller passes the rows
// above and below, already replicated at the image's top and bottom).
// Vector code chosen at run time for the processor.
void WeightedMeanRow(const uint8_t* north, const uint8_t* centre, const uint8_t* south,
                     uint8_t* out, int32_t width, const std::array<uint16_t, 9>& weights,
                     const ExactDivision& division);

} // namespace halvera
