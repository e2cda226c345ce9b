// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "processing/BoxMeanRows.cpp"
#include "processing/BoxMeanRows.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

void AccumulateRowTarget(int32_t* sums, const uint8_t* bytes, size_t count, bool add) {
    const hn::ScalableTag<int32_t> d32;
    const hn::Rebind<uint8_t, decltype(d32)> d8;
    const size_t lanes = hn::Lanes(d32);
    size_t i = 0;
    for (; i + lanes <= count; i += lanes) {
        const auto values = hn::PromoteTo(d32, hn::LoadU(d8, bytes + i));
        const auto current = hn::LoadU(d32, sums + i);
        hn::StoreU(add ? hn::Add(current, values) : hn::Sub(current, values), d32, sums + i);
    }
    for (; i < count; ++i)
        sums[i] += add ? bytes[i] : -int32_t{bytes[i]};
}

// The same float steps as the plain division, lane by lane, so every lane
// gives the bytes of (float(sum) + 0.5f) * reciprocal truncated.
void BoxMeanAcrossTarget(const int32_t* columns, uint8_t* out, int32_t begin, int32_t end,
                         int32_t radius, float reciprocal) {
    const hn::ScalableTag<int32_t> d32;
    const hn::Rebind<float, decltype(d32)> df;
    const hn::Rebind<uint8_t, decltype(d32)> d8;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d32));
    const auto half = hn::Set(df, 0.5f);
    const auto scale = hn::Set(df, reciprocal);
    int32_t i = begin;
    for (; i + lanes <= end; i += lanes) {
        auto sum = hn::LoadU(d32, columns + i - 3 * radius);
        for (int32_t k = 1 - radius; k <= radius; ++k)
            sum = hn::Add(sum, hn::LoadU(d32, columns + i + 3 * k));
        const auto mean = hn::ConvertTo(d32, hn::Mul(hn::Add(hn::ConvertTo(df, sum), half), scale));
        hn::StoreU(hn::DemoteTo(d8, mean), d8, out + i);
    }
    for (; i < end; ++i) {
        int32_t sum = 0;
        for (int32_t k = -radius; k <= radius; ++k)
            sum += columns[i + 3 * k];
        out[i] = static_cast<uint8_t>(
            static_cast<int32_t>((static_cast<float>(sum) + 0.5f) * reciprocal));
    }
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(AccumulateRowTarget);
HWY_EXPORT(BoxMeanAcrossTarget);

void AccumulateRow(int32_t* sums, const uint8_t* bytes, size_t count, bool add) {
    HWY_DYNAMIC_DISPATCH(AccumulateRowTarget)(sums, bytes, count, add);
}

void BoxMeanAcross(const int32_t* columns, uint8_t* out, int32_t begin, int32_t end, int32_t radius,
                   float reciprocal) {
    HWY_DYNAMIC_DISPATCH(BoxMeanAcrossTarget)(columns, out, begin, end, radius, reciprocal);
}

} // namespace halvera
#endif
