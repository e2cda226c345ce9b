#include "warping/ScaleWeights.h"

#include <cmath>
#include <cstring>

namespace halvera {

namespace {

constexpr int kLargestDifference = 255;

bool AcrossMatches(double dx, uint16_t w) {
    for (int d = -kLargestDifference; d <= kLargestDifference; ++d)
        if (AcrossByWeight(d, w) != AcrossByRule(d, dx))
            return false;
    return true;
}

bool DownMatches(double dy, uint16_t w) {
    for (int d = -kLargestDifference; d <= kLargestDifference; ++d)
        if (DownByWeight(d, w) != DownByRule(d, dy))
            return false;
    return true;
}

std::optional<uint16_t> FirstMatching(double fraction, bool (*matches)(double, uint16_t)) {
    // The weight nearest the fraction, then its neighbours: a double product
    // rounded up to a whole number asks for a weight a little above the
    // fraction, the fixed half in the down blend sometimes for one below.
    const auto nearest = static_cast<int32_t>(std::lround(fraction * 65536.0));
    for (const int32_t step : {0, 1, -1, 2, -2}) {
        const int32_t w = nearest + step;
        if (w >= 0 && w <= 65535 && matches(fraction, static_cast<uint16_t>(w)))
            return static_cast<uint16_t>(w);
    }
    return std::nullopt;
}

} // namespace

std::optional<uint16_t> AcrossWeight(double dx) {
    return FirstMatching(dx, AcrossMatches);
}

std::optional<uint16_t> DownWeight(double dy) {
    return FirstMatching(dy, DownMatches);
}

std::optional<uint16_t> WeightCache::operator()(double fraction) {
    uint64_t bits = 0;
    std::memcpy(&bits, &fraction, sizeof bits);
    Entry& entry = entries_[(bits * 0x9E3779B97F4A7C15ull) >> 58];
    if (entry.bits != bits) {
        const std::optional<uint16_t> weight = find_(fraction);
        entry = Entry{bits, weight ? int32_t{*weight} : -1};
    }
    if (entry.weight < 0)
        return std::nullopt;
    return static_cast<uint16_t>(entry.weight);
}

} // namespace halvera
