#include "processing/EdgeSobel.h"

#include "processing/OperandCheck.h"

namespace halvera {

bool EdgeSobel(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
               EdgeNorm norm) {
    if (!NeighbourhoodOperands(destination, source, mask) || !IsEdgeNorm(norm))
        return false;
    FilterGradients(destination, source, RegionOfInterest(mask), norm, [](const Window3x3& p) {
        return Gradient{(p.ne + 2 * p.e + p.se) - (p.nw + 2 * p.w + p.sw),
                        (p.nw + 2 * p.n + p.ne) - (p.sw + 2 * p.s + p.se)};
    });
    return true;
}

} // namespace halvera
