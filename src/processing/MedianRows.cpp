// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "processing/MedianRows.cpp"
#include "processing/MedianRows.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>
#include <type_traits>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The same on plain numbers and on vectors of them.
template <class V> V Low(V a, V b) {
    if constexpr (std::is_integral_v<V>)
        return a < b ? a : b;
    else
        return hn::Min(a, b);
}
template <class V> V High(V a, V b) {
    if constexpr (std::is_integral_v<V>)
        return a > b ? a : b;
    else
        return hn::Max(a, b);
}
template <class V> void Sort2(V& a, V& b) {
    const V low = Low(a, b);
    b = High(a, b);
    a = low;
}

// The sixth smallest of nine levels (position 5 of the sorted nine, counting
// from 0): the 21 compare-exchanges of a 25-comparator sorting network that
// lead to that position, halved where only one of their outputs is used.
template <class V> V SixthSmallest(V v0, V v1, V v2, V v3, V v4, V v5, V v6, V v7, V v8) {
    Sort2(v0, v3);
    Sort2(v1, v7);
    Sort2(v2, v5);
    Sort2(v4, v8);
    Sort2(v0, v7);
    Sort2(v2, v4);
    Sort2(v3, v8);
    Sort2(v5, v6);
    v2 = High(v0, v2);
    Sort2(v1, v3);
    Sort2(v4, v5);
    Sort2(v7, v8);
    v4 = High(v1, v4);
    Sort2(v3, v6);
    Sort2(v5, v7);
    v4 = High(v2, v4);
    v5 = High(v3, v5);
    v6 = Low(v6, v8);
    v5 = High(v4, v5);
    v6 = Low(v6, v7);
    return Low(v5, v6);
}

// One pixel, its side neighbours `west` and `east` levels away (0 at an end).
uint8_t PlainPosition(const int16_t* n, const int16_t* c, const int16_t* s, int32_t x, int32_t west,
                      int32_t east) {
    const int16_t a[9] = {n[x + west], c[x + west], s[x + west], n[x],       c[x],
                          s[x],        n[x + east], c[x + east], s[x + east]};
    const int16_t chosen = SixthSmallest(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
    uint8_t p = 0;
    while (a[p] != chosen)
        ++p;
    return p;
}

void MedianPositionsTarget(const int16_t* north, const int16_t* centre, const int16_t* south,
                           int32_t width, uint8_t* positions) {
    if (width == 1) {
        positions[0] = PlainPosition(north, centre, south, 0, 0, 0);
        return;
    }
    positions[0] = PlainPosition(north, centre, south, 0, 0, 1);
    const hn::ScalableTag<int16_t> d;
    const hn::Rebind<uint8_t, decltype(d)> d8;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d));
    int32_t x = 1;
    for (; x + lanes <= width - 1; x += lanes) {
        const auto a0 = hn::LoadU(d, north + x - 1), a1 = hn::LoadU(d, centre + x - 1),
                   a2 = hn::LoadU(d, south + x - 1);
        const auto a3 = hn::LoadU(d, north + x), a4 = hn::LoadU(d, centre + x),
                   a5 = hn::LoadU(d, south + x);
        const auto a6 = hn::LoadU(d, north + x + 1), a7 = hn::LoadU(d, centre + x + 1),
                   a8 = hn::LoadU(d, south + x + 1);
        const auto chosen = SixthSmallest(a0, a1, a2, a3, a4, a5, a6, a7, a8);
        // Scanning from the last down keeps the first match.
        auto p = hn::Set(d, 8);
        p = hn::IfThenElse(hn::Eq(a7, chosen), hn::Set(d, 7), p);
        p = hn::IfThenElse(hn::Eq(a6, chosen), hn::Set(d, 6), p);
        p = hn::IfThenElse(hn::Eq(a5, chosen), hn::Set(d, 5), p);
        p = hn::IfThenElse(hn::Eq(a4, chosen), hn::Set(d, 4), p);
        p = hn::IfThenElse(hn::Eq(a3, chosen), hn::Set(d, 3), p);
        p = hn::IfThenElse(hn::Eq(a2, chosen), hn::Set(d, 2), p);
        p = hn::IfThenElse(hn::Eq(a1, chosen), hn::Set(d, 1), p);
        p = hn::IfThenElse(hn::Eq(a0, chosen), hn::Zero(d), p);
        hn::StoreU(hn::DemoteTo(d8, p), d8, positions + x);
    }
    for (; x < width - 1; ++x)
        positions[x] = PlainPosition(north, centre, south, x, -1, 1);
    positions[width - 1] = PlainPosition(north, centre, south, width - 1, -1, 0);
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(MedianPositionsTarget);

void MedianPositions(const int16_t* north, const int16_t* centre, const int16_t* south,
                     int32_t width, uint8_t* positions) {
    HWY_DYNAMIC_DISPATCH(MedianPositionsTarget)(north, centre, south, width, positions);
}

} // namespace halvera
#endif
