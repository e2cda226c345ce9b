// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "processing/LuminanceRows.cpp"
#include "processing/LuminanceRows.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

inline uint8_t GreyOf(const uint8_t* p) {
    return static_cast<uint8_t>((30 * p[2] + 59 * p[1] + 11 * p[0]) / 100);
}

// (30 R + 59 G + 11 B) / 100 with the sum in 16 bits (at most 25500): the
// division is a multiply-high by 5243 and a shift by 3, exact on 0..25500.
template <class D16, class V8> hn::Vec<D16> GreyVector(D16 d16, V8 blue, V8 green, V8 red) {
    const auto weighted = hn::Add(hn::Add(hn::Mul(hn::PromoteTo(d16, red), hn::Set(d16, 30)),
                                          hn::Mul(hn::PromoteTo(d16, green), hn::Set(d16, 59))),
                                  hn::Mul(hn::PromoteTo(d16, blue), hn::Set(d16, 11)));
    return hn::ShiftRight<3>(hn::MulHigh(weighted, hn::Set(d16, 5243)));
}

void GreyRowTarget(uint8_t* pixels, const uint8_t* selection, int32_t width) {
    const hn::ScalableTag<uint16_t> d16;
    const hn::Rebind<uint8_t, decltype(d16)> d8;
    const hn::Rebind<int16_t, decltype(d16)> di16;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d16));
    int32_t x = 0;
    for (; x + lanes <= width; x += lanes) {
        uint8_t* p = pixels + ptrdiff_t{3} * x;
        hn::Vec<decltype(d8)> blue, green, red;
        hn::LoadInterleaved3(d8, p, blue, green, red);
        const auto grey = hn::DemoteTo(d8, hn::BitCast(di16, GreyVector(d16, blue, green, red)));
        if (selection == nullptr) {
            hn::StoreInterleaved3(grey, grey, grey, d8, p);
        } else {
            const auto chosen = hn::Eq(hn::LoadU(d8, selection + x), hn::Set(d8, 255));
            hn::StoreInterleaved3(hn::IfThenElse(chosen, grey, blue),
                                  hn::IfThenElse(chosen, grey, green),
                                  hn::IfThenElse(chosen, grey, red), d8, p);
        }
    }
    for (uint8_t* p = pixels + ptrdiff_t{3} * x; x < width; ++x, p += 3)
        if (selection == nullptr || selection[x] == 255)
            p[0] = p[1] = p[2] = GreyOf(p);
}

// Whole byte vectors of pixels, each half weighed in 16 bits.
void LuminanceRowTarget(const uint8_t* pixels, uint8_t* levels, int32_t width) {
    int32_t x = 0;
#if HWY_TARGET != HWY_SCALAR
    const hn::ScalableTag<uint8_t> d8;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d8));
    const hn::Half<decltype(d8)> dh8;
    const hn::Repartition<uint16_t, decltype(d8)> d16;
    const hn::Repartition<int16_t, decltype(d8)> di16;
    for (; x + lanes <= width; x += lanes) {
        hn::Vec<decltype(d8)> blue, green, red;
        hn::LoadInterleaved3(d8, pixels + ptrdiff_t{3} * x, blue, green, red);
        const auto lower = GreyVector(d16, hn::LowerHalf(dh8, blue), hn::LowerHalf(dh8, green),
                                      hn::LowerHalf(dh8, red));
        const auto upper = GreyVector(d16, hn::UpperHalf(dh8, blue), hn::UpperHalf(dh8, green),
                                      hn::UpperHalf(dh8, red));
        hn::StoreU(hn::Combine(d8, hn::DemoteTo(dh8, hn::BitCast(di16, upper)),
                               hn::DemoteTo(dh8, hn::BitCast(di16, lower))),
                   d8, levels + x);
    }
#endif
    for (const uint8_t* p = pixels + ptrdiff_t{3} * x; x < width; ++x, p += 3)
        levels[x] = GreyOf(p);
}

LuminanceSum SumLuminanceRowTarget(const uint8_t* pixels, const uint8_t* selection, int32_t width) {
    const hn::ScalableTag<uint16_t> d16;
    const hn::Rebind<uint8_t, decltype(d16)> d8;
    const hn::Rebind<int16_t, decltype(d16)> di16;
    const hn::Repartition<uint64_t, decltype(d8)> d64;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d16));
    auto sums = hn::Zero(d64);
    LuminanceSum total;
    int32_t x = 0;
    for (; x + lanes <= width; x += lanes) {
        hn::Vec<decltype(d8)> blue, green, red;
        hn::LoadInterleaved3(d8, pixels + ptrdiff_t{3} * x, blue, green, red);
        auto grey = hn::DemoteTo(d8, hn::BitCast(di16, GreyVector(d16, blue, green, red)));
        if (selection == nullptr) {
            total.count += static_cast<uint64_t>(lanes);
        } else {
            const auto chosen = hn::Eq(hn::LoadU(d8, selection + x), hn::Set(d8, 255));
            grey = hn::IfThenElseZero(chosen, grey);
            total.count += hn::CountTrue(d8, chosen);
        }
        sums = hn::Add(sums, hn::SumsOf8(grey));
    }
    total.sum = hn::GetLane(hn::SumOfLanes(d64, sums));
    for (const uint8_t* p = pixels + ptrdiff_t{3} * x; x < width; ++x, p += 3)
        if (selection == nullptr || selection[x] == 255) {
            total.sum += GreyOf(p);
            ++total.count;
        }
    return total;
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(GreyRowTarget);
HWY_EXPORT(SumLuminanceRowTarget);
HWY_EXPORT(LuminanceRowTarget);

void LuminanceRow(const uint8_t* pixels, uint8_t* levels, int32_t width) {
    HWY_DYNAMIC_DISPATCH(LuminanceRowTarget)(pixels, levels, width);
}

void GreyRow(uint8_t* pixels, const uint8_t* selection, int32_t width) {
    HWY_DYNAMIC_DISPATCH(GreyRowTarget)(pixels, selection, width);
}

LuminanceSum SumLuminanceRow(const uint8_t* pixels, const uint8_t* selection, int32_t width) {
    return HWY_DYNAMIC_DISPATCH(SumLuminanceRowTarget)(pixels, selection, width);
}

} // namespace halvera
#endif
