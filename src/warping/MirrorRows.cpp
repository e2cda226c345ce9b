// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "warping/MirrorRows.cpp"
#include "warping/MirrorRows.h"

#include <algorithm>
#include <hwy/cache_control.h>
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

// The lanes of `v` in reverse order. The table's indices name 16 bytes, so it
// serves only vectors of 16 lanes; the plain target's vector holds one byte,
// which is its own reverse, and looking up byte 15 of it would read past it.
template <class D> HWY_INLINE hn::Vec<D> ReverseLanes(D d, hn::Vec<D> v) {
    if constexpr (hn::MaxLanes(D()) == 1) {
        return v;
    } else {
        static_assert(hn::MaxLanes(D()) == sizeof(kReversed), "the table reverses 16 lanes");
        return hn::TableLookupBytes(v, hn::Load(d, kReversed));
    }
}

// Vectors of pixels from both ends change places reversed, while the two do
// not overlap; the pixels left in the middle are swapped one by one.
void MirrorRgbRowTarget(uint8_t* row, int32_t width) {
    const Tag16 d;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d));
    int32_t x = 0;
    for (; 2 * (x + lanes) <= width; x += lanes) {
        uint8_t* left = row + ptrdiff_t{3} * x;
        uint8_t* right = row + ptrdiff_t{3} * (width - x - lanes);
        hn::Vec<decltype(d)> lb, lg, lr, rb, rg, rr;
        hn::LoadInterleaved3(d, left, lb, lg, lr);
        hn::LoadInterleaved3(d, right, rb, rg, rr);
        hn::StoreInterleaved3(ReverseLanes(d, rb), ReverseLanes(d, rg), ReverseLanes(d, rr), d,
                              left);
        hn::StoreInterleaved3(ReverseLanes(d, lb), ReverseLanes(d, lg), ReverseLanes(d, lr), d,
                              right);
    }
    for (; x < width - 1 - x; ++x) {
        uint8_t* p = row + ptrdiff_t{3} * x;
        uint8_t* q = row + ptrdiff_t{3} * (width - 1 - x);
        for (int c = 0; c < 3; ++c) {
            const uint8_t held = p[c];
            p[c] = q[c];
            q[c] = held;
        }
    }
}

void MirrorByteRowTarget(uint8_t* row, int32_t width) {
    const Tag16 d;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d));
    int32_t x = 0;
    for (; 2 * (x + lanes) <= width; x += lanes) {
        const auto left = hn::LoadU(d, row + x);
        const auto right = hn::LoadU(d, row + (width - x - lanes));
        hn::StoreU(ReverseLanes(d, right), d, row + x);
        hn::StoreU(ReverseLanes(d, left), d, row + (width - x - lanes));
    }
    for (; x < width - 1 - x; ++x) {
        const uint8_t held = row[x];
        row[x] = row[width - 1 - x];
        row[width - 1 - x] = held;
    }
}

void StreamRowCopyTarget(const uint8_t* from, uint8_t* to, size_t bytes) {
    const hn::ScalableTag<uint8_t> d;
    const size_t lanes = hn::Lanes(d);
    // Byte by byte up to the first vector boundary of the target.
    const size_t misaligned = reinterpret_cast<uintptr_t>(to) % (lanes * sizeof(uint8_t));
    size_t i = 0;
    for (const size_t head = misaligned == 0 ? 0 : lanes - misaligned; i < head && i < bytes; ++i)
        to[i] = from[i];
    for (; i + lanes <= bytes; i += lanes)
        hn::Stream(hn::LoadU(d, from + i), d, to + i);
    for (; i < bytes; ++i)
        to[i] = from[i];
}

// Works in whole 64-byte cache lines of the top copy, so that each line of a
// copy is written completely by consecutive streaming stores. The bottom copy
// is streamed too when its lines fall at the same offsets (a row length that
// is a multiple of 64 bytes), else stored through the cache.
void ExchangeRowsKeepingCopiesTarget(uint8_t* top, uint8_t* bottom, uint8_t* topCopy,
                                     uint8_t* bottomCopy, size_t bytes) {
    constexpr size_t kLine = 64;
    const hn::ScalableTag<uint8_t> d;
    const size_t lanes = hn::Lanes(d);
    const size_t perLine = kLine / lanes;
    const auto exchangeByte = [&](size_t i) {
        const uint8_t t = top[i], b = bottom[i];
        topCopy[i] = t;
        bottomCopy[i] = b;
        top[i] = b;
        bottom[i] = t;
    };
    const size_t misaligned = reinterpret_cast<uintptr_t>(topCopy) % kLine;
    const size_t head = std::min(bytes, misaligned == 0 ? 0 : kLine - misaligned);
    size_t i = 0;
    for (; i < head; ++i)
        exchangeByte(i);
    const bool streamBottom =
        (reinterpret_cast<uintptr_t>(bottomCopy) - reinterpret_cast<uintptr_t>(topCopy)) % kLine ==
        0;
    for (; i + kLine <= bytes; i += kLine) {
        for (size_t k = 0; k < perLine; ++k) {
            const size_t at = i + k * lanes;
            const auto t = hn::LoadU(d, top + at);
            const auto b = hn::LoadU(d, bottom + at);
            hn::Stream(t, d, topCopy + at);
            if (streamBottom)
                hn::Stream(b, d, bottomCopy + at);
            else
                hn::StoreU(b, d, bottomCopy + at);
            hn::StoreU(b, d, top + at);
            hn::StoreU(t, d, bottom + at);
        }
    }
    for (; i < bytes; ++i)
        exchangeByte(i);
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(MirrorRgbRowTarget);
HWY_EXPORT(MirrorByteRowTarget);
HWY_EXPORT(StreamRowCopyTarget);
HWY_EXPORT(ExchangeRowsKeepingCopiesTarget);

void StreamRowCopy(const uint8_t* from, uint8_t* to, size_t bytes) {
    HWY_DYNAMIC_DISPATCH(StreamRowCopyTarget)(from, to, bytes);
}

void ExchangeRowsKeepingCopies(uint8_t* top, uint8_t* bottom, uint8_t* topCopy, uint8_t* bottomCopy,
                               size_t bytes) {
    HWY_DYNAMIC_DISPATCH(ExchangeRowsKeepingCopiesTarget)(top, bottom, topCopy, bottomCopy, bytes);
}

void FinishStreamedCopies() {
    hwy::FlushStream();
}

void MirrorRgbRow(uint8_t* row, int32_t width) {
    HWY_DYNAMIC_DISPATCH(MirrorRgbRowTarget)(row, width);
}

void MirrorByteRow(uint8_t* row, int32_t width) {
    HWY_DYNAMIC_DISPATCH(MirrorByteRowTarget)(row, width);
}

} // namespace halvera
#endif
