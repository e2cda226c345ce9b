#include "processing/ChannelMapping.h"

#include <cstring>
#include <new>
#include <vector>

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

// Two bytes per look-up: entry (second << 8 | first) holds both mapped bytes
// in memory order. Building its 65536 entries pays off from images of this size.
constexpr int64_t kPairTablePixels = int64_t{1} << 18;

std::vector<uint16_t> PairTable(const uint8_t* table) {
    std::vector<uint16_t> pairs(65536);
    for (int second = 0; second < 256; ++second)
        for (int first = 0; first < 256; ++first) {
            const uint8_t bytes[2] = {table[first], table[second]};
            std::memcpy(&pairs[size_t(second << 8 | first)], bytes, 2);
        }
    return pairs;
}

void MapBytePairs(const uint8_t* in, uint8_t* out, int32_t count, const uint16_t* pairs,
                  const uint8_t* table) {
    int32_t i = 0;
    for (; i + 16 <= count; i += 16) {
        uint16_t keys[8];
        std::memcpy(keys, in + i, sizeof keys);
        uint16_t looked[8];
        for (int k = 0; k < 8; ++k)
            looked[k] = pairs[keys[k]];
        std::memcpy(out + i, looked, sizeof looked);
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
    std::vector<uint16_t> pairs;
    if (sameTable && !region.exists() && int64_t{width} * destination.height >= kPairTablePixels) {
        try {
            pairs = PairTable(b);
        } catch (const std::bad_alloc&) {
            // the single-byte look-up gives the same bytes
        }
    }
    // Bottom row first: the rows then follow one another upwards in memory,
    // the order in which the processor fetches ahead best.
    for (int32_t y = destination.height - 1; y >= 0; --y) {
        const uint8_t* in = source.row(y);
        uint8_t* out = destination.row(y);
        const uint8_t* mask = region.maskRow(y);
        if (mask == nullptr && !pairs.empty()) {
            MapBytePairs(in, out, 3 * width, pairs.data(), b);
        } else if (mask == nullptr && sameTable) {
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
