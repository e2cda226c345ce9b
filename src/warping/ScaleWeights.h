#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace halvera {

// The two halves of the bilinear rule (Bilinear.h) as the zoom applies them to
// one channel, d being the difference of the two samples (-255..255): the
// blend across a row, trunc(dx * d), and the blend down between two rows,
// trunc(d * dy + 0.5), both in double as the rule states.
inline int AcrossByRule(int d, double dx) {
    return static_cast<int>(dx * d);
}
inline int DownByRule(int d, double dy) {
    return static_cast<int>(d * dy + 0.5);
}

// The same blends with a 16-bit fixed-point weight w, as the vector kernels
// compute them on the magnitude of d (the products of a double and an integer
// are symmetric in the sign of the integer):
//   across: sign(d) * ((|d| * w) >> 16)
//   down:   q(d) for d >= 0, -max(q(-d) - 1, 0) for d < 0,
//           with q(m) = (m * w + 32768) >> 16.
inline int AcrossByWeight(int d, uint16_t w) {
    const int magnitude = (d < 0 ? -d : d) * w >> 16;
    return d < 0 ? -magnitude : magnitude;
}
inline int DownByWeight(int d, uint16_t w) {
    const int magnitude = ((d < 0 ? -d : d) * w + 32768) >> 16;
    return d < 0 ? -std::max(magnitude - 1, 0) : magnitude;
}

// The weight whose fixed-point blend equals the double rule for every d in
// -255..255, checked on all of them. None for the rare fractions whose double
// products are not the floors of any single real multiple (a fraction just
// below 7/10 gives 7 at d = 10 but 62 at d = 90): those columns or rows keep
// the double rule.
std::optional<uint16_t> AcrossWeight(double dx);
std::optional<uint16_t> DownWeight(double dy);

// The weights of recently seen fractions: a zoom's fractions repeat with the
// period of its ratio, and each check costs a thousand multiplications.
class WeightCache {
public:
    explicit WeightCache(std::optional<uint16_t> (*find)(double)) : find_(find) {}
    std::optional<uint16_t> operator()(double fraction);

private:
    struct Entry {
        uint64_t bits = ~uint64_t{0}; // a NaN, never a fraction
        int32_t weight = -1;          // -1: the fraction has no weight
    };
    std::optional<uint16_t> (*find_)(double);
    std::array<Entry, 64> entries_{};
};

} // namespace halvera
