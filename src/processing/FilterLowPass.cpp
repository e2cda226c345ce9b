#include "processing/FilterLowPass.h"

#include "processing/Convolve3x3Mean.h"

namespace halvera {

bool FilterLowPass(const CDibImage& destination, const CDibImage& source, const CDibImage& mask) {
    return Convolve3x3Mean(destination, source, mask, kLowPassKernel);
}

} // namespace halvera
