#pragma once

#include <cstddef>
#include <cstdint>

namespace halvera {

// Row kernels of the box mean (the Average filter), with the widest vector
// code the processor offers, chosen at run time.

// sums[i] += bytes[i] (or -= when `add` is false) for i in 0..count-1.
void AccumulateRow(int32_t* sums, const uint8_t* bytes, size_t count, bool add);

// For i in begin..end-1: the sum of columns[i + 3k] for k = -radius..radius
// (the window across, one channel of whole pixels apart), divided as
// (float(sum) + 0.5f) * reciprocal truncated, written to out[i]. The caller
// keeps every index inside its arrays.
void BoxMeanAcross(const int32_t* columns, uint8_t* out, int32_t begin, int32_t end, int32_t radius,
                   float reciprocal);

} // namespace halvera
