#include "processing/ChannelMapping.h"

namespace halvera {

void MapChannels(const CDibImage& destination, const CDibImage& source,
                 const RegionOfInterest& region, const LevelTable& blue, const LevelTable& green,
                 const LevelTable& red) {
    const int32_t width = destination.width();
    const uint8_t* b = blue.data();
    const uint8_t* g = green.data();
    const uint8_t* r = red.data();
    for (int32_t y = 0; y < destination.height; ++y) {
        const uint8_t* in = source.row(y);
        uint8_t* out = destination.row(y);
        const uint8_t* mask = region.maskRow(y);
        if (mask == nullptr) {
            for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
                out[0] = b[in[0]];
                out[1] = g[in[1]];
                out[2] = r[in[2]];
            }
        } else {
            for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
                if (RegionOfInterest::Selected(mask, x)) {
                    out[0] = b[in[0]];
                    out[1] = g[in[1]];
                    out[2] = r[in[2]];
                }
            }
        }
    }
}

} // namespace halvera
