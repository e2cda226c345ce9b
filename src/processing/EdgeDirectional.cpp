#include "processing/EdgeDirectional.h"

#include "processing/OperandCheck.h"

namespace halvera {

bool EdgeDirectional(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                     const Kernel3x3& kernel) {
    if (!NeighbourhoodOperands(destination, source, mask) || !IsKernelInRange(kernel))
        return false;
    const std::array<int32_t, 9> weights = kernel.weights;
    FilterChannels3x3(destination, source, RegionOfInterest(mask), [&weights](const Window3x3& p) {
        const int32_t v = Weigh(weights, p);
        const int32_t magnitude = v < 0 ? -v : v;
        return static_cast<uint8_t>(magnitude < 255 ? magnitude : 255);
    });
    return true;
}

} // namespace halvera
