#include "image/BmpBitFields.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace halvera {
namespace {

using Bytes = std::vector<uint8_t>;

// round(value * 255 / (2^bits - 1)) in floating point, the rule written out.
uint8_t Scaled(uint32_t value, int bits) {
    return static_cast<uint8_t>(std::lround(value * 255.0 / ((1 << bits) - 1)));
}

// A row of 32-bit pixels, little-endian.
Bytes Row32(const std::vector<uint32_t>& pixels) {
    Bytes row;
    for (const uint32_t pixel : pixels)
        for (int i = 0; i < 4; ++i)
            row.push_back(static_cast<uint8_t>(pixel >> (8 * i)));
    return row;
}

TEST(JudgeChannelMasks, TakesOneRunOfBitsPerChannelWithinThePixel) {
    EXPECT_EQ(JudgeChannelMasks(DefaultChannelMasks(16), 16), MaskVerdict::Usable);
    EXPECT_EQ(JudgeChannelMasks(DefaultChannelMasks(32), 32), MaskVerdict::Usable);
    EXPECT_EQ(JudgeChannelMasks({0xF800, 0x07E0, 0x001F}, 16), MaskVerdict::Usable);
    EXPECT_EQ(JudgeChannelMasks({0xFF000000, 0x00000FF0, 0x00FF0000}, 32), MaskVerdict::Usable);
    EXPECT_EQ(JudgeChannelMasks({0xFF00, 0x00FF, 0}, 16), MaskVerdict::Usable); // no blue
    EXPECT_EQ(JudgeChannelMasks({0, 0xFFFF00, 0}, 32), MaskVerdict::Usable);    // 16 bits

    EXPECT_EQ(JudgeChannelMasks({0x7C01, 0x03E0, 0x0010}, 16), MaskVerdict::Malformed);
    EXPECT_EQ(JudgeChannelMasks({0x7C00, 0x07E0, 0x001F}, 16), MaskVerdict::Malformed); // overlap
    EXPECT_EQ(JudgeChannelMasks({0x1F0000, 0x03E0, 0x001F}, 16), MaskVerdict::Malformed);
    EXPECT_EQ(JudgeChannelMasks({0x80000001, 0, 0}, 32), MaskVerdict::Malformed);
    EXPECT_EQ(JudgeChannelMasks({0xFE000000, 0x01FFFF80, 0x7F}, 32), MaskVerdict::TooWide);
}

TEST(BitFieldRowConverter, ScalesEveryValueOfEveryFieldWidthByTheRoundingRule) {
    for (int bits = 1; bits <= 16; ++bits) {
        // Green, placed 3 bits up, takes every value; red and blue are 0.
        const uint32_t green = ((1u << bits) - 1) << 3;
        std::vector<uint32_t> pixels;
        for (uint32_t value = 0; value < (1u << bits); ++value)
            pixels.push_back(value << 3 | 0x7u); // the low bits belong to no channel
        const BitFieldRowConverter converter({0, green, 0}, 32);
        Bytes target(pixels.size() * 3, 0xEE);
        converter.convertRow(Row32(pixels).data(), target.data(),
                             static_cast<int32_t>(pixels.size()));
        for (uint32_t value = 0; value < pixels.size(); ++value) {
            ASSERT_EQ(target[3 * value + 1], Scaled(value, bits)) << bits << " bits, " << value;
            ASSERT_EQ(target[3 * value], 0);
            ASSERT_EQ(target[3 * value + 2], 0);
        }
    }
}

TEST(BitFieldRowConverter, SixteenBitPixelsAreLittleEndianAndTheTopBitIsIgnored) {
    const BitFieldRowConverter converter(DefaultChannelMasks(16), 16);
    // 5-5-5: red 31, green 0, blue 16; then the unused top bit alone; then
    // green 1 with the top bit set.
    const Bytes source = {0x10, 0x7C, 0x00, 0x80, 0x20, 0x80};
    Bytes target(9 + 2, 0xEE);
    converter.convertRow(source.data(), target.data(), 3);
    EXPECT_EQ(target, (Bytes{Scaled(16, 5), 0, 255, 0, 0, 0, 0, Scaled(1, 5), 0, 0xEE, 0xEE}));

    const BitFieldRowConverter sixFive({0xF800, 0x07E0, 0x001F}, 16);
    const Bytes white = {0xFF, 0xFF, 0x20, 0x00};
    Bytes out(6);
    sixFive.convertRow(white.data(), out.data(), 2);
    EXPECT_EQ(out, (Bytes{255, 255, 255, 0, Scaled(1, 6), 0}));
}

TEST(BitFieldRowConverter, ThirtyTwoBitPixelsIgnoreTheTopByteAndFollowTheirMasks) {
    const BitFieldRowConverter standard(DefaultChannelMasks(32), 32);
    const Bytes source = Row32({0xAA102030, 0x00FFFFFF});
    Bytes target(6);
    standard.convertRow(source.data(), target.data(), 2);
    EXPECT_EQ(target, (Bytes{0x30, 0x20, 0x10, 255, 255, 255}));

    // Red in the top byte, green in bits 4..11, blue in bits 16..23.
    const BitFieldRowConverter moved({0xFF000000, 0x00000FF0, 0x00FF0000}, 32);
    moved.convertRow(Row32({0x11223344}).data(), target.data(), 1);
    EXPECT_EQ(Bytes(target.begin(), target.begin() + 3), (Bytes{0x22, 0x34, 0x11}));

    // 10-10-10 with two alpha bits, which are ignored.
    const BitFieldRowConverter wide({0x3FF00000, 0x000FFC00, 0x000003FF}, 32);
    wide.convertRow(Row32({0xC0000000 | 1023u << 20 | 512u << 10 | 1u}).data(), target.data(), 1);
    EXPECT_EQ(Bytes(target.begin(), target.begin() + 3),
              (Bytes{Scaled(1, 10), Scaled(512, 10), 255}));
}

} // namespace
} // namespace halvera
