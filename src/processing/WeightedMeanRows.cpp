// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "processing/WeightedMeanRows.cpp"
#include "processing/WeightedMeanRows.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// One channel byte with its side neighbours `west` and `east` bytes away (0
// at the row's ends), in plain arithmetic.
inline uint8_t PlainMean(const uint8_t* n, const uint8_t* c, const uint8_t* s, int west, int east,
                         const std::array<uint16_t, 9>& k, int32_t divisor) {
    const int32_t sum = k[0] * n[west] + k[1] * n[0] + k[2] * n[east] + k[3] * c[west] +
                        k[4] * c[0] + k[5] * c[east] + k[6] * s[west] + k[7] * s[0] +
                        k[8] * s[east];
    return static_cast<uint8_t>(sum / divisor);
}

void WeightedMeanRowTarget(const uint8_t* north, const uint8_t* centre, const uint8_t* south,
                           uint8_t* out, int32_t width, const std::array<uint16_t, 9>& k,
                           const ExactDivision& division) {
    const int32_t bytes = 3 * width;
    if (width == 1) {
        for (int i = 0; i < 3; ++i)
            out[i] = PlainMean(north + i, centre + i, south + i, 0, 0, k, division.divisor);
        return;
    }
    for (int i = 0; i < 3; ++i)
        out[i] = PlainMean(north + i, centre + i, south + i, 0, 3, k, division.divisor);

    const hn::ScalableTag<uint16_t> d16;
    const hn::Rebind<uint8_t, decltype(d16)> d8;
    const hn::Rebind<int16_t, decltype(d16)> di16;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d16));
    const auto weight = [&](int j) {
        return hn::Set(d16, k[j]);
    };
    const auto w0 = weight(0), w1 = weight(1), w2 = weight(2), w3 = weight(3), w4 = weight(4),
               w5 = weight(5), w6 = weight(6), w7 = weight(7), w8 = weight(8);
    const auto multiplier = hn::Set(d16, division.multiplier);
    const auto at = [&](const uint8_t* row, int32_t i) {
        return hn::PromoteTo(d16, hn::LoadU(d8, row + i));
    };
    int32_t i = 3;
    for (; i + lanes <= bytes - 3; i += lanes) {
        auto sum = hn::Mul(at(north, i - 3), w0);
        sum = hn::Add(sum, hn::Mul(at(north, i), w1));
        sum = hn::Add(sum, hn::Mul(at(north, i + 3), w2));
        sum = hn::Add(sum, hn::Mul(at(centre, i - 3), w3));
        sum = hn::Add(sum, hn::Mul(at(centre, i), w4));
        sum = hn::Add(sum, hn::Mul(at(centre, i + 3), w5));
        sum = hn::Add(sum, hn::Mul(at(south, i - 3), w6));
        sum = hn::Add(sum, hn::Mul(at(south, i), w7));
        sum = hn::Add(sum, hn::Mul(at(south, i + 3), w8));
        const auto mean = hn::ShiftRightSame(hn::MulHigh(sum, multiplier), division.shift);
        hn::StoreU(hn::DemoteTo(d8, hn::BitCast(di16, mean)), d8, out + i);
    }
    for (; i < bytes - 3; ++i)
        out[i] = PlainMean(north + i, centre + i, south + i, -3, 3, k, division.divisor);
    for (i = bytes - 3; i < bytes; ++i)
        out[i] = PlainMean(north + i, centre + i, south + i, -3, 0, k, division.divisor);
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(WeightedMeanRowTarget);

std::optional<ExactDivision> FindExactDivision(int32_t divisor, int32_t largestSum) {
    if (divisor < 1 || divisor > 65535 || largestSum < 0 || largestSum > 65535)
        return std::nullopt;
    for (int shift = 0; shift < 16; ++shift) {
        const int64_t scale = int64_t{1} << (16 + shift);
        const int64_t multiplier = (scale + divisor - 1) / divisor;
        if (multiplier > 65535)
            break;
        bool exact = true;
        for (int32_t sum = 0; sum <= largestSum && exact; ++sum)
            exact = ((sum * multiplier) >> (16 + shift)) == sum / divisor;
        if (exact)
            return ExactDivision{static_cast<uint16_t>(multiplier), shift, divisor};
    }
    return std::nullopt;
}

void WeightedMeanRow(const uint8_t* north, const uint8_t* centre, const uint8_t* south,
                     uint8_t* out, int32_t width, const std::array<uint16_t, 9>& weights,
                     const ExactDivision& division) {
    HWY_DYNAMIC_DISPATCH(WeightedMeanRowTarget)
    (north, centre, south, out, width, weights, division);
}

} // namespace halvera
#endif
