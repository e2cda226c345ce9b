#include "processing/EdgeKirsch.h"

#include "processing/Neighbourhood3x3.h"
#include "processing/OperandCheck.h"

namespace halvera {

namespace {

// By value, so that the compiler turns it into a vector max.
int32_t Max(int32_t a, int32_t b) {
    return a > b ? a : b;
}

} // namespace

bool EdgeKirsch(const CDibImage& destination, const CDibImage& source, const CDibImage& mask) {
    if (!NeighbourhoodOperands(destination, source, mask))
        return false;
    // 5 x run - 3 x (ring - run) = 8 x run - 3 x ring, so the largest of the
    // eight sums belongs to the largest run of three.
    FilterChannels3x3(destination, source, RegionOfInterest(mask), [](const Window3x3& p) {
        const int32_t ring = p.nw + p.n + p.ne + p.e + p.se + p.s + p.sw + p.w;
        const int32_t run = Max(
            Max(Max(p.nw + p.n + p.ne, p.n + p.ne + p.e), Max(p.ne + p.e + p.se, p.e + p.se + p.s)),
            Max(Max(p.se + p.s + p.sw, p.s + p.sw + p.w),
                Max(p.sw + p.w + p.nw, p.w + p.nw + p.n)));
        const int32_t v = 8 * run - 3 * ring;
        return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    });
    return true;
}

} // namespace halvera
