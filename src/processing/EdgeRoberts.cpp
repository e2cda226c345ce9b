#include "processing/EdgeRoberts.h"

#include "processing/OperandCheck.h"

namespace halvera {

bool EdgeRoberts(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                 EdgeNorm norm) {
    if (!NeighbourhoodOperands(destination, source, mask) || !IsEdgeNorm(norm))
        return false;
    FilterGradients(destination, source, RegionOfInterest(mask), norm, [](const Window3x3& p) {
        return Gradient{p.c - p.se, p.s - p.e};
    });
    return true;
}

} // namespace halvera
