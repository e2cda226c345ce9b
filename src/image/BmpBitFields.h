#pragma once

#include <cstdint>
#include <vector>

namespace halvera {

// Pixels of 16 or 32 bits whose red, green and blue are bit fields of the
// little-endian pixel value: the masks a BI_BITFIELDS file gives, or the
// defaults of a file without masks (5-5-5 at 16 bits, 8-8-8 at 32 bits, the
// top bit or byte unused). Bits outside the three masks (alpha, unused) are
// ignored.

struct ChannelMasks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
};

// 0x7C00/0x03E0/0x001F at 16 bits, 0xFF0000/0x00FF00/0x0000FF at 32 bits.
ChannelMasks DefaultChannelMasks(int depth);

enum class MaskVerdict {
    Usable,
    Malformed, // a mask of separate runs of bits, beyond the pixel, or overlapping another
    TooWide,   // a channel of more than 16 bits
};

// Usable masks are each one run of bits within the pixel's `depth` bits (16
// or 32), no two sharing a bit, none wider than 16 bits. A mask of 0 is
// usable: its channel is 0 throughout.
MaskVerdict JudgeChannelMasks(const ChannelMasks& masks, int depth);

// Converts rows of one file's pixels to blue, green, red bytes. A channel of
// n bits and value v becomes round(v * 255 / (2^n - 1)); each channel's 2^n
// results are computed once, so a row costs three table look-ups a pixel.
class BitFieldRowConverter {
public:
    // `masks` must be usable (JudgeChannelMasks) for `depth` (16 or 32).
    BitFieldRowConverter(const ChannelMasks& masks, int depth);

    // Writes `width` pixels of `source` to `target` (3 * width bytes); the
    // target's row padding is left as it is.
    void convertRow(const uint8_t* source, uint8_t* target, int32_t width) const;

private:
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;               // position of the mask's lowest bit
        std::vector<uint8_t> levels; // 0..255 for each value of the field
    };
    static Channel MakeChannel(uint32_t mask);

    int bytesPerPixel_;
    Channel red_;
    Channel green_;
    Channel blue_;
};

} // namespace halvera
