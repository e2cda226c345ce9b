#include "processing/ApplyColorBalance.h"

#include "image/RegionOfInterest.h"
#include "processing/ChannelMapping.h"
#include "processing/ClampTable.h"
#include "processing/OperandCheck.h"

namespace halvera {

namespace {

LevelTable OffsetLevels(int offset) {
    LevelTable levels{};
    for (int v = 0; v < 256; ++v)
        levels[v] = kClampTable[v + offset + kClampBias];
    return levels;
}

} // namespace

bool ApplyColorBalance(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                       int redOffset, int greenOffset, int blueOffset) {
    if (!PointOperands(destination, source, mask) || !IsLevelOffset(redOffset) ||
        !IsLevelOffset(greenOffset) || !IsLevelOffset(blueOffset))
        return false;
    MapChannels(destination, source, RegionOfInterest(mask), OffsetLevels(blueOffset),
                OffsetLevels(greenOffset), OffsetLevels(redOffset));
    return true;
}

} // namespace halvera
