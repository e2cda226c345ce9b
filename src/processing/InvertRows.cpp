// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "processing/InvertRows.cpp"
#include "processing/InvertRows.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

void InvertBytesTarget(uint8_t* bytes, int32_t count) {
    const hn::ScalableTag<uint8_t> d;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d));
    int32_t i = 0;
    for (; i + 2 * lanes <= count; i += 2 * lanes) {
        const auto first = hn::LoadU(d, bytes + i);
        const auto second = hn::LoadU(d, bytes + i + lanes);
        hn::StoreU(hn::Not(first), d, bytes + i);
        hn::StoreU(hn::Not(second), d, bytes + i + lanes);
    }
    for (; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(~bytes[i]);
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(InvertBytesTarget);

void InvertBytes(uint8_t* bytes, int32_t count) {
    HWY_DYNAMIC_DISPATCH(InvertBytesTarget)(bytes, count);
}

} // namespace halvera
#endif
