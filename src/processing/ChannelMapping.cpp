#include "processing/ChannelMapping.h"

namespace halvera {

namespace {

// One table for every channel: the row is one run of bytes, looked up eight
// at a time into locals so that no store makes the compiler reload.
void MapBytes(const uint8_t* in, uint8_t* out, int32_t count, const uint8_t* table) {
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint8_t looked[8];
        for (int k = 0; k < 8; ++k)
            looked[k] = table[in[i + k]];
        for (int k = 0; k < 8; ++k)
            out[i + k] = looked[k];
    }
    for (; i < count; ++i)
        out[i] = table[in[i]];
}

} // namespace

void MapChannels(const CDibImage& destination, const CDibImage& source,
                 const RegionOfInterest& region, const LevelTable& blue, const LevelTable& green,
                 const LevelTable& red) {
    const int32_t width = destination.width();
    const uint8_t* b = blue.data();
    const uint8_t* g = green.data();
    const uint8_t* r = red.data();
    const bool sameTable = blue == green && green == red;
    for (int32_t y = 0; y < destination.height; ++y) {
        const uint8_t* in = source.row(y);
        uint8_t* out = destination.row(y);
        const uint8_t* mask = region.maskRow(y);
        if (mask == nullptr && sameTable) {
            MapBytes(in, out, 3 * width, b);
        } else if (mask == nullptr) {
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
