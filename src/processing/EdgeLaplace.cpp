#include "processing/EdgeLaplace.h"

#include "processing/Neighbourhood3x3.h"
#include "processing/OperandCheck.h"

namespace halvera {

bool EdgeLaplace(const CDibImage& destination, const CDibImage& source, const CDibImage& mask) {
    if (!NeighbourhoodOperands(destination, source, mask))
        return false;
    FilterChannels3x3(destination, source, RegionOfInterest(mask), [](const Window3x3& p) {
        const int32_t v = p.n + p.s + p.w + p.e - 4 * p.c;
        return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    });
    return true;
}

} // namespace halvera
