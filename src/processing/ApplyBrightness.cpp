#include "processing/ApplyBrightness.h"

#include "image/RegionOfInterest.h"
#include "processing/OperandCheck.h"

namespace halvera {

bool ApplyBrightness(BrightnessContrastTables& tables, const CDibImage& destination,
                     const CDibImage& source, const CDibImage& mask, int percent) {
    if (!PointOperands(destination, source, mask) || !tables.SetBrightness(percent))
        return false;
    const LevelTable levels = tables.Levels();
    MapChannels(destination, source, RegionOfInterest(mask), levels, levels, levels);
    return true;
}

} // namespace halvera
