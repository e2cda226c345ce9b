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

// Exchanges the first `bytes` bytes of `top` and `bottom` after copying them,
// as they were, to `topCopy` and `bottomCopy` with stores that bypass the
// cache: one pass that reads each row once (the top-bottom flip's pair of
// rows). The copies must not overlap the rows or each other. Call
// FinishStreamedCopies after the last pair.
void ExchangeRowsKeepingCopies(uint8_t* top, uint8_t* bottom, uint8_t* topCopy, uint8_t* bottomCopy,
                               size_t bytes);

} // namespace halvera
