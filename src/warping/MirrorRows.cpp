// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "warping/MirrorRows.cpp"
#include "warping/MirrorRows.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Vectors of 16 lanes, whose bytes a shuffle reverses (this Highway has no
// byte Reverse); the rows are read and written once, so wider vectors would
// gain little.
using Tag16 = hn::CappedTag<uint8_t, 16>;

alignas(16) constexpr uint8_t kReversed[16] = {15, 14, 13, 12, 11, 10, 9, 8,
                                               7,  6,  5,  4,  3,  2,  1, 0};

// Whole vectors of pixels are taken from the end of `from` and stored
// reversed from the start of `to`; the pixels left in the middle go one by one.
void MirrorRgbRowTarget(const uint8_t* from, uint8_t* to, int32_t width) {
    const Tag16 d;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d));
    const auto reversed = hn::Load(d, kReversed);
    int32_t x = 0;
    for (; x + lanes <= width; x += lanes) {
        hn::Vec<decltype(d)> blue, green, red;
        hn::LoadInterleaved3(d, from + ptrdiff_t{3} * (width - x - lanes), blue, green, red);
        hn::StoreInterleaved3(hn::TableLookupBytes(blue, reversed),
                              hn::TableLookupBytes(green, reversed),
                              hn::TableLookupBytes(red, reversed), d, to + ptrdiff_t{3} * x);
    }
    for (; x < width; ++x) {
        const uint8_t* p = from + ptrdiff_t{3} * (width - 1 - x);
        uint8_t* q = to + ptrdiff_t{3} * x;
        q[0] = p[0];
        q[1] = p[1];
        q[2] = p[2];
    }
}

void MirrorByteRowTarget(const uint8_t* from, uint8_t* to, int32_t width) {
    const Tag16 d;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d));
    const auto reversed = hn::Load(d, kReversed);
    int32_t x = 0;
    for (; x + lanes <= width; x += lanes)
        hn::StoreU(hn::TableLookupBytes(hn::LoadU(d, from + (width - x - lanes)), reversed), d,
                   to + x);
    for (; x < width; ++x)
        to[x] = from[width - 1 - x];
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(MirrorRgbRowTarget);
HWY_EXPORT(MirrorByteRowTarget);

void MirrorRgbRow(const uint8_t* from, uint8_t* to, int32_t width) {
    HWY_DYNAMIC_DISPATCH(MirrorRgbRowTarget)(from, to, width);
}

void MirrorByteRow(const uint8_t* from, uint8_t* to, int32_t width) {
    HWY_DYNAMIC_DISPATCH(MirrorByteRowTarget)(from, to, width);
}

} // namespace halvera
#endif
