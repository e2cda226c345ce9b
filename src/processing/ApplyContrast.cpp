#include "processing/ApplyContrast.h"

#include "image/RegionOfInterest.h"
#include "processing/OperandCheck.h"

namespace halvera {

bool ApplyContrast(BrightnessContrastTables& tables, const CDibImage& destination,
                   const CDibImage& source, const CDibImage& mask, uint32_t meanGray, int percent) {
    if (!PointOperands(destination, source, mask) || !tables.SetContrast(meanGray, percent))
        return false;
    const LevelTable levels = tables.Levels();
    MapChannels(destination, source, RegionOfInterest(mask), levels, levels, levels);
    return true;
}

} // namespace halvera
