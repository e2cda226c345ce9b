#include "processing/EdgePrewitt.h"

#include "processing/OperandCheck.h"

namespace halvera {

bool EdgePrewitt(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                 EdgeNorm norm) {
    if (!NeighbourhoodOperands(destination, source, mask) || !IsEdgeNorm(norm))
        return false;
    FilterGradients(destination, source, RegionOfInterest(mask), norm, [](const Window3x3& p) {
        return Gradient{(p.nw + p.w + p.sw) - (p.ne + p.e + p.se),
                        (p.nw + p.n + p.ne) - (p.sw + p.s + p.se)};
    });
    return true;
}

} // namespace halvera
