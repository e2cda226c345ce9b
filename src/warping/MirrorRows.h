#pragma once

#include <cstddef>
#include <cstdint>

namespace halvera {

// Reverses the order of the `width` pixels of `row` in place: pixel x and
// pixel width - 1 - x change places. Pixels are three bytes (blue, green,
// red) or one (a mask). Vector code chosen at run time for the processor.
void MirrorRgbRow(uint8_t* row, int32_t width);
void MirrorByteRow(uint8_t* row, int32_t width);

// Copies `bytes` bytes from `from` to `to` with stores that bypass the cache
// (the flips' copy into the working copy, which nothing reads soon): the
// target's lines are not read in first. The copies are complete and visible
// to other threads once FinishStreamedCopies has been called.
void StreamRowCopy(const uint8_t* from, uint8_t* to, size_t bytes);
void FinishStreamedCopies();

} // namespace halvera
