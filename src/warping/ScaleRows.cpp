// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "warping/ScaleRows.cpp"
#include "warping/ScaleRows.h"

#include "warping/ScaleWeights.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Channels are widened to 16-bit lanes: differences span -255..255 and the
// weights are 16-bit fractions.
using Wide = hn::ScalableTag<int16_t>;
using WideUnsigned = hn::RebindToUnsigned<Wide>;
using Narrow = hn::Rebind<uint8_t, Wide>;

// Runs step(i) over 0..count-1 a vector at a time; a last partial vector is
// redone ending at the last byte (the output overlaps no input, so bytes done
// twice come out the same), and rows shorter than a vector go one by one.
template <class Step, class Single>
void ForEachVector(int32_t count, const Step& step, const Single& single) {
    const auto lanes = static_cast<int32_t>(hn::Lanes(Wide()));
    if (count < lanes) {
        for (int32_t i = 0; i < count; ++i)
            single(i);
        return;
    }
    int32_t i = 0;
    for (; i + lanes <= count; i += lanes)
        step(i);
    if (i < count)
        step(count - lanes);
}

void BlendAcrossRowTarget(const uint8_t* left, const uint8_t* right, const uint16_t* weights,
                          uint8_t* out, int32_t count) {
    const Wide wide;
    const WideUnsigned wideUnsigned;
    const Narrow narrow;
    ForEachVector(
        count,
        [&](int32_t i) {
            const auto a = hn::PromoteTo(wide, hn::LoadU(narrow, left + i));
            const auto difference = hn::Sub(hn::PromoteTo(wide, hn::LoadU(narrow, right + i)), a);
            const auto magnitude = hn::BitCast(wideUnsigned, hn::Abs(difference));
            const auto step =
                hn::BitCast(wide, hn::MulHigh(magnitude, hn::LoadU(wideUnsigned, weights + i)));
            const auto negative = hn::ShiftRight<15>(difference); // all ones where d < 0
            const auto signedStep = hn::Sub(hn::Xor(step, negative), negative);
            hn::StoreU(hn::DemoteTo(narrow, hn::Add(a, signedStep)), narrow, out + i);
        },
        [&](int32_t i) {
            out[i] = static_cast<uint8_t>(left[i] + AcrossByWeight(right[i] - left[i], weights[i]));
        });
}

void BlendDownRowTarget(const uint8_t* top, const uint8_t* bottom, uint16_t weight, uint8_t* out,
                        int32_t count) {
    const Wide wide;
    const WideUnsigned wideUnsigned;
    const Narrow narrow;
    const auto w = hn::Set(wideUnsigned, weight);
    const auto one = hn::Set(wide, 1);
    ForEachVector(
        count,
        [&](int32_t i) {
            const auto t = hn::PromoteTo(wide, hn::LoadU(narrow, top + i));
            const auto difference = hn::Sub(hn::PromoteTo(wide, hn::LoadU(narrow, bottom + i)), t);
            const auto magnitude = hn::BitCast(wideUnsigned, hn::Abs(difference));
            // (m * w + 32768) >> 16: the high half plus the carry of adding a
            // half to the low half, which is the low half's top bit.
            const auto rounded =
                hn::Add(hn::MulHigh(magnitude, w), hn::ShiftRight<15>(hn::Mul(magnitude, w)));
            const auto negative = hn::ShiftRight<15>(difference); // all ones where d < 0
            const auto step = hn::BitCast(
                wide, hn::SaturatedSub(rounded, hn::BitCast(wideUnsigned, hn::And(negative, one))));
            const auto signedStep = hn::Sub(hn::Xor(step, negative), negative);
            hn::StoreU(hn::DemoteTo(narrow, hn::Add(t, signedStep)), narrow, out + i);
        },
        [&](int32_t i) {
            out[i] = static_cast<uint8_t>(top[i] + DownByWeight(bottom[i] - top[i], weight));
        });
}

// One 16-byte output block from its 32-byte window: each half looked up by
// byte shuffles, bytes of the other half coming out 0.
void GatherBlocksTarget(const uint8_t* row, const uint32_t* bases, const uint8_t* indices,
                        int32_t blocks, uint8_t* left, uint8_t* right) {
    const hn::CappedTag<uint8_t, 16> d;
    if (hn::Lanes(d) < 16) {
        for (int32_t b = 0; b < blocks; ++b) {
            const uint8_t* window = row + bases[b];
            const uint8_t* index = indices + 64 * static_cast<ptrdiff_t>(b);
            for (int side = 0; side < (right ? 2 : 1); ++side, index += 32) {
                uint8_t* out = (side == 0 ? left : right) + 16 * static_cast<ptrdiff_t>(b);
                for (int i = 0; i < 16; ++i)
                    out[i] = index[i] < 16 ? window[index[i]] : window[16 + index[16 + i]];
            }
        }
        return;
    }
    for (int32_t b = 0; b < blocks; ++b) {
        const uint8_t* window = row + bases[b];
        const auto lower = hn::LoadU(d, window);
        const auto upper = hn::LoadU(d, window + 16);
        const uint8_t* index = indices + 64 * static_cast<ptrdiff_t>(b);
        hn::StoreU(hn::Or(hn::TableLookupBytesOr0(lower, hn::LoadU(d, index)),
                          hn::TableLookupBytesOr0(upper, hn::LoadU(d, index + 16))),
                   d, left + 16 * static_cast<ptrdiff_t>(b));
        if (right)
            hn::StoreU(hn::Or(hn::TableLookupBytesOr0(lower, hn::LoadU(d, index + 32)),
                              hn::TableLookupBytesOr0(upper, hn::LoadU(d, index + 48))),
                       d, right + 16 * static_cast<ptrdiff_t>(b));
    }
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(BlendAcrossRowTarget);
HWY_EXPORT(BlendDownRowTarget);
HWY_EXPORT(GatherBlocksTarget);

void BlendAcrossRow(const uint8_t* left, const uint8_t* right, const uint16_t* weights,
                    uint8_t* out, int32_t count) {
    HWY_DYNAMIC_DISPATCH(BlendAcrossRowTarget)(left, right, weights, out, count);
}

void BlendDownRow(const uint8_t* top, const uint8_t* bottom, uint16_t weight, uint8_t* out,
                  int32_t count) {
    HWY_DYNAMIC_DISPATCH(BlendDownRowTarget)(top, bottom, weight, out, count);
}

void GatherBlocks(const uint8_t* row, const uint32_t* bases, const uint8_t* indices, int32_t blocks,
                  uint8_t* left, uint8_t* right) {
    HWY_DYNAMIC_DISPATCH(GatherBlocksTarget)(row, bases, indices, blocks, left, right);
}

} // namespace halvera
#endif
