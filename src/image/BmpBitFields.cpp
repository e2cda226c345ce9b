#include "image/BmpBitFields.h"

#include <bit>
#include <cstddef>

namespace halvera {

namespace {

constexpr int kWidestChannel = 16;

// Whether the set bits of `mask` form one run (a mask of 0 does).
bool IsOneRun(uint32_t mask) {
    const uint64_t lowest = mask & (~mask + 1);
    // Adding the lowest bit carries through the whole run and clears it.
    return ((uint64_t{mask} + lowest) & mask) == 0;
}

} // namespace

ChannelMasks DefaultChannelMasks(int depth) {
    if (depth == 16)
        return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

MaskVerdict JudgeChannelMasks(const ChannelMasks& masks, int depth) {
    const uint32_t pixelBits = depth == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    const uint32_t all = masks.red | masks.green | masks.blue;
    const bool overlapping = (masks.red & masks.green) != 0 || (masks.red & masks.blue) != 0 ||
                             (masks.green & masks.blue) != 0;
    if (overlapping || (all & ~pixelBits) != 0 || !IsOneRun(masks.red) || !IsOneRun(masks.green) ||
        !IsOneRun(masks.blue))
        return MaskVerdict::Malformed;
    for (const uint32_t mask : {masks.red, masks.green, masks.blue})
        if (std::popcount(mask) > kWidestChannel)
            return MaskVerdict::TooWide;
    return MaskVerdict::Usable;
}

BitFieldRowConverter::BitFieldRowConverter(const ChannelMasks& masks, int depth)
    : bytesPerPixel_(depth / 8), red_(MakeChannel(masks.red)), green_(MakeChannel(masks.green)),
      blue_(MakeChannel(masks.blue)) {}

// The field's largest value `top` = 2^n - 1 is odd, so v * 255 / top is never
// exactly halfway between two integers and the rounding needs no tie rule.
BitFieldRowConverter::Channel BitFieldRowConverter::MakeChannel(uint32_t mask) {
    Channel channel;
    channel.mask = mask;
    channel.shift = mask == 0 ? 0 : std::countr_zero(mask);
    const uint32_t top = (uint32_t{1} << std::popcount(mask)) - 1;
    channel.levels.assign(size_t{top} + 1, 0);
    for (uint32_t value = 1; value <= top; ++value)
        channel.levels[value] = static_cast<uint8_t>((value * 510 + top) / (2 * top));
    return channel;
}

void BitFieldRowConverter::convertRow(const uint8_t* source, uint8_t* target, int32_t width) const {
    const uint8_t* red = red_.levels.data();
    const uint8_t* green = green_.levels.data();
    const uint8_t* blue = blue_.levels.data();
    const uint32_t redMask = red_.mask, greenMask = green_.mask, blueMask = blue_.mask;
    const int redShift = red_.shift, greenShift = green_.shift, blueShift = blue_.shift;
    if (bytesPerPixel_ == 2) {
        for (int32_t x = 0; x < width; ++x, source += 2, target += 3) {
            const uint32_t pixel = source[0] | uint32_t{source[1]} << 8;
            target[0] = blue[(pixel & blueMask) >> blueShift];
            target[1] = green[(pixel & greenMask) >> greenShift];
            target[2] = red[(pixel & redMask) >> redShift];
        }
        return;
    }
    for (int32_t x = 0; x < width; ++x, source += 4, target += 3) {
        const uint32_t pixel = source[0] | uint32_t{source[1]} << 8 | uint32_t{source[2]} << 16 |
                               uint32_t{source[3]} << 24;
        target[0] = blue[(pixel & blueMask) >> blueShift];
        target[1] = green[(pixel & greenMask) >> greenShift];
        target[2] = red[(pixel & redMask) >> redShift];
    }
}

} // namespace halvera
