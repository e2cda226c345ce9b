#pragma once

#include <cstdint>

namespace halvera {

// For every pixel of a row, which of its nine neighbours the median takes:
// the position, in the column order NW, W, SW, N, C, S, NE, E, SE (0..8), of
// the first neighbour whose grey level is the sixth smallest of the nine.
// `north`, `centre` and `south` are the grey levels of the rows above, at and
// below (replicated at the image's top and bottom by the caller); at the
// row's ends the missing side column is the pixel's own (replicate border).
// Vector code chosen at run time for the processor.
void MedianPositions(const int16_t* north, const int16_t* centre, const int16_t* south,
                     int32_t width, uint8_t* positions);

} // namespace halvera
