#pragma once

#include "image/DibImage.h"
#include "image/RegionOfInterest.h"

#include <array>
#include <cstdint>

namespace halvera {

using LevelTable = std::array<uint8_t, 256>;

// Writes blue[b], green[g], red[r] of every source pixel the region selects
// into the destination; unselected pixels are left as they are. Destination
// and source may be the same image. The caller has checked the operands.
void MapChannels(const CDibImage& destination, const CDibImage& source,
                 const RegionOfInterest& region, const LevelTable& blue, const LevelTable& green,
                 const LevelTable& red);

} // namespace halvera
