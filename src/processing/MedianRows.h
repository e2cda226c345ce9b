#pragma once

#include <cstdint>

namespace halvera {

// One row of the median: every pixel becomes the one of its nine neighbours,
// taken in the column order NW, W, SW, N, C, S, NE, E, SE, that comes first
// among those whose grey level is the sixth smallest of the nine (all three
// channels of that pixel, never a mix).
//
// `north`, `centre` and `south` are the source pixel rows above, at and below
// (replicated at the image's top and bottom by the caller) and `levelsNorth`,
// `levelsCentre`, `levelsSouth` their grey levels; at the row's ends the
// missing side column is the pixel's own (replicate border). Writes `width`
// pixels to `out`, which must not overlap the source rows. Vector code chosen
// at run time for the processor.
void MedianRow(const uint8_t* levelsNorth, const uint8_t* levelsCentre, const uint8_t* levelsSouth,
               const uint8_t* north, const uint8_t* centre, const uint8_t* south, int32_t width,
               uint8_t* out);

} // namespace halvera
