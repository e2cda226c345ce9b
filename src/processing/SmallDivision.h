#pragma once

#include <array>
#include <cstdint>

namespace halvera {

// n / d for 0 <= n <= 65535 and 1 <= d <= 255, as a multiplication by a
// rounded-up reciprocal and a shift instead of a division: with
// M = ceil(2^32 / d) the error M * d - 2^32 is below d, so (n * M) >> 32 is
// exactly floor(n / d) for every n below 2^32 / 255 (checked for every pair in
// the tests). For the per-pixel divisions by a level of the HSV conversion.
struct SmallDivision {
    static constexpr std::array<uint64_t, 256> kReciprocals = [] {
        std::array<uint64_t, 256> reciprocals{};
        for (uint64_t d = 1; d < 256; ++d)
            reciprocals[d] = ((uint64_t{1} << 32) + d - 1) / d;
        return reciprocals;
    }();

    static int Divide(int n, int d) {
        return static_cast<int>((static_cast<uint64_t>(n) * kReciprocals[d]) >> 32);
    }
    // Truncated toward zero, as the built-in division, for -65535 <= n <= 65535.
    static int DivideSigned(int n, int d) { return n < 0 ? -Divide(-n, d) : Divide(n, d); }
};

} // namespace halvera
