// Mask And: the unselected part of A is blended with B by the Add blend, the
// selected part keeps A's values. It works only where a region exists; the
// "limit to region" setting is not consulted.

#include "processing/ArithmeticOverlap.h"

namespace halvera::arithmetic {

void RunMaskAnd(const Overlap& overlap, const CDibImage& mask, const ArithmeticSettings& settings) {
    CombineOverlap(overlap, SingleChannelRule(settings.outputChannel, settings.inputChannel), &mask,
                   PixelChoice::Unselected, AddBlend(settings.transparency));
}

} // namespace halvera::arithmetic
