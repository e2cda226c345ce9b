// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "processing/ArithmeticRows.cpp"
#include "processing/ArithmeticRows.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Every intermediate value is at most 255 * 100 and fits 16 bits, where a
// division by 100 is a multiply-high by 5243 and a shift by 3 (exact on
// 0..25500).
template <class D16> hn::Vec<D16> Hundredth(D16 d16, hn::Vec<D16> value) {
    return hn::ShiftRight<3>(hn::MulHigh(value, hn::Set(d16, 5243)));
}

inline int PlainValue(ArithmeticRowKind kind, int a, int b, int t) {
    const int scaled = b * t / 100;
    switch (kind) {
    case ArithmeticRowKind::Add:
        return (a * (100 - t) + b * t) / 100;
    case ArithmeticRowKind::Minus:
        return 100 * a < t * b ? 0 : (100 * a - t * b) / 100;
    case ArithmeticRowKind::Max:
        return a > scaled ? a : scaled;
    case ArithmeticRowKind::Min:
        return a < scaled ? a : scaled;
    case ArithmeticRowKind::Sub:
        return a > scaled ? a - scaled : scaled - a;
    }
    return a;
}

template <ArithmeticRowKind kind>
void RowOf(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t count, int t) {
    const hn::ScalableTag<uint16_t> d16;
    const hn::Rebind<uint8_t, decltype(d16)> d8;
    const hn::Rebind<int16_t, decltype(d16)> di16;
    const size_t lanes = hn::Lanes(d16);
    const auto keepA = hn::Set(d16, static_cast<uint16_t>(100 - t));
    const auto takeB = hn::Set(d16, static_cast<uint16_t>(t));
    const auto hundred = hn::Set(d16, 100);
    size_t i = 0;
    for (; i + lanes <= count; i += lanes) {
        const auto va = hn::PromoteTo(d16, hn::LoadU(d8, a + i));
        const auto vb = hn::PromoteTo(d16, hn::LoadU(d8, b + i));
        hn::Vec<decltype(d16)> result;
        if constexpr (kind == ArithmeticRowKind::Add) {
            result = Hundredth(d16, hn::Add(hn::Mul(va, keepA), hn::Mul(vb, takeB)));
        } else if constexpr (kind == ArithmeticRowKind::Minus) {
            result = Hundredth(d16, hn::SaturatedSub(hn::Mul(va, hundred), hn::Mul(vb, takeB)));
        } else {
            const auto scaled = Hundredth(d16, hn::Mul(vb, takeB));
            if constexpr (kind == ArithmeticRowKind::Max)
                result = hn::Max(va, scaled);
            else if constexpr (kind == ArithmeticRowKind::Min)
                result = hn::Min(va, scaled);
            else
                result = hn::Or(hn::SaturatedSub(va, scaled), hn::SaturatedSub(scaled, va));
        }
        hn::StoreU(hn::DemoteTo(d8, hn::BitCast(di16, result)), d8, out + i);
    }
    for (; i < count; ++i)
        out[i] = static_cast<uint8_t>(PlainValue(kind, a[i], b[i], t));
}

// At full transparency B is taken as it is (b * 100 / 100 = b): Max, Min
// and Sub then need no 16-bit step and run on whole byte vectors.
template <ArithmeticRowKind kind>
void WholeRowOf(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t count) {
    const hn::ScalableTag<uint8_t> d8;
    const size_t lanes = hn::Lanes(d8);
    size_t i = 0;
    for (; i + lanes <= count; i += lanes) {
        const auto va = hn::LoadU(d8, a + i);
        const auto vb = hn::LoadU(d8, b + i);
        if constexpr (kind == ArithmeticRowKind::Max)
            hn::StoreU(hn::Max(va, vb), d8, out + i);
        else if constexpr (kind == ArithmeticRowKind::Min)
            hn::StoreU(hn::Min(va, vb), d8, out + i);
        else
            hn::StoreU(hn::Or(hn::SaturatedSub(va, vb), hn::SaturatedSub(vb, va)), d8, out + i);
    }
    for (; i < count; ++i)
        out[i] = static_cast<uint8_t>(PlainValue(kind, a[i], b[i], 100));
}

void ArithmeticRowTarget(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b, uint8_t* out,
                         size_t count, int t) {
    switch (kind) {
    case ArithmeticRowKind::Add:
        return RowOf<ArithmeticRowKind::Add>(a, b, out, count, t);
    case ArithmeticRowKind::Minus:
        return RowOf<ArithmeticRowKind::Minus>(a, b, out, count, t);
    case ArithmeticRowKind::Max:
        return t == 100 ? WholeRowOf<ArithmeticRowKind::Max>(a, b, out, count)
                        : RowOf<ArithmeticRowKind::Max>(a, b, out, count, t);
    case ArithmeticRowKind::Min:
        return t == 100 ? WholeRowOf<ArithmeticRowKind::Min>(a, b, out, count)
                        : RowOf<ArithmeticRowKind::Min>(a, b, out, count, t);
    case ArithmeticRowKind::Sub:
        return t == 100 ? WholeRowOf<ArithmeticRowKind::Sub>(a, b, out, count)
                        : RowOf<ArithmeticRowKind::Sub>(a, b, out, count, t);
    }
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(ArithmeticRowTarget);

void ArithmeticRow(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b, uint8_t* out,
                   size_t count, int transparency) {
    HWY_DYNAMIC_DISPATCH(ArithmeticRowTarget)(kind, a, b, out, count, transparency);
}

} // namespace halvera
#endif
