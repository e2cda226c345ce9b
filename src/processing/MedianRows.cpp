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

// One pixel, its side neighbours `west` and `east` pixels away (0 at an end).
void PlainMedianPixel(const uint8_t* const levels[3], const uint8_t* const rows[3], int32_t x,
                      int32_t west, int32_t east, uint8_t* out) {
    const int32_t columns[3] = {x + west, x, x + east};
    uint8_t a[9];
    for (int k = 0; k < 9; ++k)
        a[k] = levels[k % 3][columns[k / 3]];
    const uint8_t chosen = SixthSmallest(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
    int k = 0;
    while (a[k] != chosen)
        ++k;
    const uint8_t* pixel = rows[k % 3] + ptrdiff_t{3} * columns[k / 3];
    out[3 * x] = pixel[0];
    out[3 * x + 1] = pixel[1];
    out[3 * x + 2] = pixel[2];
}

// Which pixel of a 16-pixel group each byte of the group's 48 interleaved
// bytes belongs to, in three blocks of 16 bytes.
alignas(16) constexpr uint8_t kSpread[3][16] = {
    {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5},
    {5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10},
    {10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15}};

// Writes pixels x.. (one per lane of `d8`) from the neighbour each position
// names. With blocks of 16 bytes (one block, or two on AVX2) the pixels are
// chosen in their interleaved bytes, each position spread over its pixel's
// three bytes by a byte shuffle within each block, which spares taking the
// channels apart and putting them back together nine times.
template <class D8>
void StoreChosenPixels(D8 d8, hn::Vec<D8> position, const uint8_t* const rows[3], int32_t x,
                       uint8_t* out) {
    constexpr size_t kLanes = hn::MaxLanes(D8());
    if constexpr (kLanes == 16 || kLanes == 32) {
        // Part p holds bytes 16p.. (one block) or 32p.. (two blocks) of the
        // group. With two blocks, part 0 takes its pixels from the lower
        // half of `position`, part 1 from both halves in place and part 2
        // from the upper half.
        hn::Vec<D8> spread[3];
        if constexpr (kLanes == 16) {
            for (int part = 0; part < 3; ++part)
                spread[part] = hn::TableLookupBytes(position, hn::Load(d8, kSpread[part]));
        } else {
#if HWY_TARGET != HWY_SCALAR
            alignas(32) static constexpr uint8_t kTables[3][32] = {
                {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4,  5,
                 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10},
                {10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15,
                 0,  0,  0,  1,  1,  1,  2,  2,  2,  3,  3,  3,  4,  4,  4,  5},
                {5,  5,  6,  6,  6,  7,  7,  7,  8,  8,  8,  9,  9,  9,  10, 10,
                 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15}};
            spread[0] = hn::TableLookupBytes(hn::ConcatLowerLower(d8, position, position),
                                             hn::Load(d8, kTables[0]));
            spread[1] = hn::TableLookupBytes(position, hn::Load(d8, kTables[1]));
            spread[2] = hn::TableLookupBytes(hn::ConcatUpperUpper(d8, position, position),
                                             hn::Load(d8, kTables[2]));
#endif
        }
        // Three named vectors, not an array: GCC copies an array of them
        // through the stack in 16-byte pieces, which stalls every load after.
        const uint8_t* east = rows[2] + ptrdiff_t{3} * (x + 1);
        auto chosen0 = hn::LoadU(d8, east);
        auto chosen1 = hn::LoadU(d8, east + kLanes);
        auto chosen2 = hn::LoadU(d8, east + 2 * kLanes);
        for (int k = 7; k >= 0; --k) {
            const uint8_t* from = rows[k % 3] + ptrdiff_t{3} * (x + k / 3 - 1);
            const auto here = hn::Set(d8, static_cast<uint8_t>(k));
            chosen0 = hn::IfThenElse(hn::Eq(spread[0], here), hn::LoadU(d8, from), chosen0);
            chosen1 =
                hn::IfThenElse(hn::Eq(spread[1], here), hn::LoadU(d8, from + kLanes), chosen1);
            chosen2 =
                hn::IfThenElse(hn::Eq(spread[2], here), hn::LoadU(d8, from + 2 * kLanes), chosen2);
        }
        uint8_t* target = out + ptrdiff_t{3} * x;
        hn::StoreU(chosen0, d8, target);
        hn::StoreU(chosen1, d8, target + kLanes);
        hn::StoreU(chosen2, d8, target + 2 * kLanes);
    } else {
        hn::Vec<D8> blue, green, red;
        hn::LoadInterleaved3(d8, rows[2] + ptrdiff_t{3} * (x + 1), blue, green, red);
        for (int k = 7; k >= 0; --k) {
            hn::Vec<D8> b, g, r;
            hn::LoadInterleaved3(d8, rows[k % 3] + ptrdiff_t{3} * (x + k / 3 - 1), b, g, r);
            const auto here = hn::Eq(position, hn::Set(d8, static_cast<uint8_t>(k)));
            blue = hn::IfThenElse(here, b, blue);
            green = hn::IfThenElse(here, g, green);
            red = hn::IfThenElse(here, r, red);
        }
        hn::StoreInterleaved3(blue, green, red, d8, out + ptrdiff_t{3} * x);
    }
}

// The pixels x.. of one vector, all with both side neighbours.
template <class D8>
void MedianVector(D8 d8, const uint8_t* const levels[3], const uint8_t* const rows[3], int32_t x,
                  uint8_t* out) {
    hn::Vec<D8> a[9];
    for (int k = 0; k < 9; ++k)
        a[k] = hn::LoadU(d8, levels[k % 3] + x + k / 3 - 1);
    const auto chosen = SixthSmallest(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
    // The position of the first match: scanning from the last down keeps it.
    auto position = hn::Set(d8, 8);
    for (int k = 7; k >= 0; --k)
        position =
            hn::IfThenElse(hn::Eq(a[k], chosen), hn::Set(d8, static_cast<uint8_t>(k)), position);
    StoreChosenPixels(d8, position, rows, x, out);
}

void MedianRowTarget(const uint8_t* levelsNorth, const uint8_t* levelsCentre,
                     const uint8_t* levelsSouth, const uint8_t* north, const uint8_t* centre,
                     const uint8_t* south, int32_t width, uint8_t* out) {
    const uint8_t* const levels[3] = {levelsNorth, levelsCentre, levelsSouth};
    const uint8_t* const rows[3] = {north, centre, south};
    if (width == 1) {
        PlainMedianPixel(levels, rows, 0, 0, 0, out);
        return;
    }
    PlainMedianPixel(levels, rows, 0, 0, 1, out);
    const hn::ScalableTag<uint8_t> d8;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d8));
    int32_t x = 1;
    if (lanes + 1 < width) {
        for (; x + lanes <= width - 1; x += lanes)
            MedianVector(d8, levels, rows, x, out);
        // The last pixels: one more vector ending at the row's last inner
        // pixel, which computes some pixels again (to the same bytes: `out`
        // is not a source row).
        if (x < width - 1)
            MedianVector(d8, levels, rows, width - 1 - lanes, out);
        x = width - 1;
    }
    for (; x < width - 1; ++x)
        PlainMedianPixel(levels, rows, x, -1, 1, out);
    PlainMedianPixel(levels, rows, width - 1, -1, 0, out);
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(MedianRowTarget);

void MedianRow(const uint8_t* levelsNorth, const uint8_t* levelsCentre, const uint8_t* levelsSouth,
               const uint8_t* north, const uint8_t* centre, const uint8_t* south, int32_t width,
               uint8_t* out) {
    HWY_DYNAMIC_DISPATCH(MedianRowTarget)
    (levelsNorth, levelsCentre, levelsSouth, north, centre, south, width, out);
}

} // namespace halvera
#endif
