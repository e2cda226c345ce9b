#pragma once

#include <cstddef>
#include <cstdint>

namespace halvera {

// The image-arithmetic operations that have a vector row kernel: every byte of
// the row is combined with the byte of B at the same place (all channels on
// both sides, no region). t is the transparency, 0..100; every division
// truncates:
enum class ArithmeticRowKind {
    Add,   // (a * (100 - t) + b * t) / 100
    Minus, // (100 * a - t * b) / 100, at least 0
    Max,   // max(a, b * t / 100)
    Min,   // min(a, b * t / 100)
    Sub,   // |a - b * t / 100|
};

// out[i] = op(a[i], b[i]) for i in 0..count-1, exactly as the formulas above,
// with the widest vector code the processor offers. `out` may be `a`.
void ArithmeticRow(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b, uint8_t* out,
                   size_t count, int transparency);

// The same bytes, stored past the cache: for results larger than the cache,
// whose lines are then neither read in before they are written nor left to
// push out what is still to be read. The rows are complete and visible to
// other threads once FinishStreamedArithmeticRows has been called.
void StreamArithmeticRow(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b, uint8_t* out,
                         size_t count, int transparency);
void FinishStreamedArithmeticRows();

} // namespace halvera
