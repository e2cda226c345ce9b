// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "processing/ArithmeticRows.cpp"
#include "processing/ArithmeticRows.h"

#include <hwy/cache_control.h>
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

// Stores a vector of results, past the cache when `kStreamed` (then `to` is
// aligned to the vector's size).
template <bool kStreamed, class D> void Put(hn::Vec<D> v, D d, uint8_t* to) {
    if constexpr (kStreamed)
        hn::Stream(v, d, to);
    else
        hn::StoreU(v, d, to);
}

// The bytes computed one by one before the vectors: none, or when streaming
// those up to the first address of `out` aligned to a whole vector of bytes.
template <bool kStreamed> size_t LeadingBytes(const uint8_t* out, size_t count) {
    if constexpr (!kStreamed)
        return 0;
    const size_t vectorBytes = hn::Lanes(hn::ScalableTag<uint8_t>());
    const size_t misaligned = reinterpret_cast<uintptr_t>(out) % vectorBytes;
    const size_t leading = misaligned == 0 ? 0 : vectorBytes - misaligned;
    return leading < count ? leading : count;
}

// One vector of results in 16 bits from a and b widened to 16 bits.
template <ArithmeticRowKind kind, class D16>
hn::Vec<D16> Combined(D16 d16, hn::Vec<D16> va, hn::Vec<D16> vb, int t) {
    const auto takeB = hn::Set(d16, static_cast<uint16_t>(t));
    if constexpr (kind == ArithmeticRowKind::Add) {
        const auto keepA = hn::Set(d16, static_cast<uint16_t>(100 - t));
        return Hundredth(d16, hn::Add(hn::Mul(va, keepA), hn::Mul(vb, takeB)));
    } else if constexpr (kind == ArithmeticRowKind::Minus) {
        return Hundredth(d16, hn::SaturatedSub(hn::Mul(va, hn::Set(d16, 100)), hn::Mul(vb, takeB)));
    } else {
        const auto scaled = Hundredth(d16, hn::Mul(vb, takeB));
        if constexpr (kind == ArithmeticRowKind::Max)
            return hn::Max(va, scaled);
        else if constexpr (kind == ArithmeticRowKind::Min)
            return hn::Min(va, scaled);
        else
            return hn::Or(hn::SaturatedSub(va, scaled), hn::SaturatedSub(scaled, va));
    }
}

// Whole byte vectors, each half widened to 16 bits (the portable fallback
// computes every byte by the plain formula).
template <ArithmeticRowKind kind, bool kStreamed>
void RowOf(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t count, int t) {
    size_t i = 0;
    for (const size_t leading = LeadingBytes<kStreamed>(out, count); i < leading; ++i)
        out[i] = static_cast<uint8_t>(PlainValue(kind, a[i], b[i], t));
#if HWY_TARGET != HWY_SCALAR
    const hn::ScalableTag<uint8_t> d8;
    const hn::Half<decltype(d8)> dh8;
    const hn::Repartition<uint16_t, decltype(d8)> d16;
    const hn::Repartition<int16_t, decltype(d8)> di16;
    const size_t lanes = hn::Lanes(d8);
    for (; i + lanes <= count; i += lanes) {
        const auto va = hn::LoadU(d8, a + i);
        const auto vb = hn::LoadU(d8, b + i);
        const auto lower = Combined<kind>(d16, hn::PromoteTo(d16, hn::LowerHalf(dh8, va)),
                                          hn::PromoteTo(d16, hn::LowerHalf(dh8, vb)), t);
        const auto upper = Combined<kind>(d16, hn::PromoteTo(d16, hn::UpperHalf(dh8, va)),
                                          hn::PromoteTo(d16, hn::UpperHalf(dh8, vb)), t);
        Put<kStreamed>(hn::Combine(d8, hn::DemoteTo(dh8, hn::BitCast(di16, upper)),
                                   hn::DemoteTo(dh8, hn::BitCast(di16, lower))),
                       d8, out + i);
    }
#endif
    for (; i < count; ++i)
        out[i] = static_cast<uint8_t>(PlainValue(kind, a[i], b[i], t));
}

// At full transparency B is taken as it is (b * 100 / 100 = b): Max, Min
// and Sub then need no 16-bit step and run on whole byte vectors.
template <ArithmeticRowKind kind, bool kStreamed>
void WholeRowOf(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t count) {
    const hn::ScalableTag<uint8_t> d8;
    const size_t lanes = hn::Lanes(d8);
    size_t i = 0;
    for (const size_t leading = LeadingBytes<kStreamed>(out, count); i < leading; ++i)
        out[i] = static_cast<uint8_t>(PlainValue(kind, a[i], b[i], 100));
    for (; i + lanes <= count; i += lanes) {
        const auto va = hn::LoadU(d8, a + i);
        const auto vb = hn::LoadU(d8, b + i);
        if constexpr (kind == ArithmeticRowKind::Max)
            Put<kStreamed>(hn::Max(va, vb), d8, out + i);
        else if constexpr (kind == ArithmeticRowKind::Min)
            Put<kStreamed>(hn::Min(va, vb), d8, out + i);
        else
            Put<kStreamed>(hn::Or(hn::SaturatedSub(va, vb), hn::SaturatedSub(vb, va)), d8, out + i);
    }
    for (; i < count; ++i)
        out[i] = static_cast<uint8_t>(PlainValue(kind, a[i], b[i], 100));
}

template <bool kStreamed>
void RowOfKind(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b, uint8_t* out,
               size_t count, int t) {
    using Kind = ArithmeticRowKind;
    switch (kind) {
    case Kind::Add:
        return RowOf<Kind::Add, kStreamed>(a, b, out, count, t);
    case Kind::Minus:
        return RowOf<Kind::Minus, kStreamed>(a, b, out, count, t);
    case Kind::Max:
        return t == 100 ? WholeRowOf<Kind::Max, kStreamed>(a, b, out, count)
                        : RowOf<Kind::Max, kStreamed>(a, b, out, count, t);
    case Kind::Min:
        return t == 100 ? WholeRowOf<Kind::Min, kStreamed>(a, b, out, count)
                        : RowOf<Kind::Min, kStreamed>(a, b, out, count, t);
    case Kind::Sub:
        return t == 100 ? WholeRowOf<Kind::Sub, kStreamed>(a, b, out, count)
                        : RowOf<Kind::Sub, kStreamed>(a, b, out, count, t);
    }
}

void ArithmeticRowTarget(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b, uint8_t* out,
                         size_t count, int t) {
    RowOfKind<false>(kind, a, b, out, count, t);
}

void StreamArithmeticRowTarget(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b,
                               uint8_t* out, size_t count, int t) {
    RowOfKind<true>(kind, a, b, out, count, t);
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(ArithmeticRowTarget);
HWY_EXPORT(StreamArithmeticRowTarget);

void ArithmeticRow(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b, uint8_t* out,
                   size_t count, int transparency) {
    HWY_DYNAMIC_DISPATCH(ArithmeticRowTarget)(kind, a, b, out, count, transparency);
}

void StreamArithmeticRow(ArithmeticRowKind kind, const uint8_t* a, const uint8_t* b, uint8_t* out,
                         size_t count, int transparency) {
    HWY_DYNAMIC_DISPATCH(StreamArithmeticRowTarget)(kind, a, b, out, count, transparency);
}

void FinishStreamedArithmeticRows() {
    hwy::FlushStream();
}

} // namespace halvera
#endif
