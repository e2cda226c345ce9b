#pragma once

// Divisions shared by the shade corrections: the scaled quotients that divide
// an image by a background byte, and exact division by a wider divisor.

#include <cstdint>
#include <memory>

namespace halvera {

// quotient(d)[v] = min(255, (v * level) div d) for d > 0, and 255 for d = 0:
// one 64 KB table replaces every division by a background byte.
class QuotientTable {
public:
    explicit QuotientTable(int level); // throws std::bad_alloc without memory
    const uint8_t* quotients(uint8_t divisor) const { return table_.get() + divisor * 256; }

private:
    std::unique_ptr<uint8_t[]> table_;
};

// Divides numerators below 65536 by a fixed divisor below 65536 with a
// multiplication and a shift; the quotient is exact for every such pair
// (c = ceil(2^32 / d) has enough bits for 16-bit numerators and divisors).
class ExactDivisor {
public:
    explicit ExactDivisor(uint32_t divisor)
        : factor_(((uint64_t{1} << 32) + divisor - 1) / divisor) {}
    uint32_t divide(uint32_t numerator) const {
        return static_cast<uint32_t>((numerator * factor_) >> 32);
    }

private:
    uint64_t factor_;
};

} // namespace halvera
