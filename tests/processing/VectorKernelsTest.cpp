// The vector row kernels against plain scalar versions of their formulas:
// exhaustively where the input space allows, otherwise on random rows of
// every width up to a few vectors (so each tail length is met), with masks of
// 0, 255 and in-between bytes.
#include "processing/LuminanceRows.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace halvera {
namespace {

using Bytes = std::vector<uint8_t>;

uint8_t PlainGrey(const uint8_t* p) {
    return static_cast<uint8_t>((30 * p[2] + 59 * p[1] + 11 * p[0]) / 100);
}

Bytes RandomBytes(std::mt19937& random, size_t count) {
    Bytes bytes(count);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

// Mask bytes: mostly 0 and 255, some in between (a region that selects nothing there).
Bytes RandomMask(std::mt19937& random, size_t count) {
    Bytes mask(count);
    for (uint8_t& b : mask) {
        const uint32_t pick = random() % 8;
        b = pick < 4 ? 255 : pick < 7 ? 0 : static_cast<uint8_t>(1 + random() % 254);
    }
    return mask;
}

constexpr int32_t kMaxWidth = 200;

TEST(VectorKernels, GreyRowGivesThePlainGreyOfEveryColour) {
    // Every one of the 2^24 colours: one row per red level, all green and blue pairs.
    Bytes row(size_t{65536} * 3);
    for (int red = 0; red < 256; ++red) {
        for (int i = 0; i < 65536; ++i) {
            row[3 * i] = static_cast<uint8_t>(i);
            row[3 * i + 1] = static_cast<uint8_t>(i >> 8);
            row[3 * i + 2] = static_cast<uint8_t>(red);
        }
        const Bytes before = row;
        GreyRow(row.data(), nullptr, 65536);
        for (int i = 0; i < 65536; ++i) {
            const uint8_t grey = PlainGrey(&before[3 * i]);
            ASSERT_EQ(row[3 * i], grey) << "red " << red << " pixel " << i;
            ASSERT_EQ(row[3 * i + 1], grey);
            ASSERT_EQ(row[3 * i + 2], grey);
        }
        const LuminanceSum sum = SumLuminanceRow(before.data(), nullptr, 65536);
        uint64_t plain = 0;
        for (int i = 0; i < 65536; ++i)
            plain += PlainGrey(&before[3 * i]);
        ASSERT_EQ(sum.sum, plain) << "red " << red;
        ASSERT_EQ(sum.count, 65536u);
    }
}

TEST(VectorKernels, GreyRowsWithAndWithoutSelectionMatchThePlainLoop) {
    std::mt19937 random(17);
    for (int32_t width = 1; width <= kMaxWidth; ++width) {
        const Bytes pixels = RandomBytes(random, size_t(width) * 3 + 5);
        const Bytes mask = RandomMask(random, size_t(width));
        for (const bool selected : {false, true}) {
            const uint8_t* selection = selected ? mask.data() : nullptr;
            Bytes expected = pixels;
            uint64_t sum = 0, count = 0;
            for (int32_t x = 0; x < width; ++x)
                if (!selected || mask[x] == 255) {
                    uint8_t* p = &expected[3 * size_t(x)];
                    const uint8_t grey = PlainGrey(p);
                    p[0] = p[1] = p[2] = grey;
                    sum += grey;
                    ++count;
                }
            Bytes row = pixels;
            GreyRow(row.data(), selection, width);
            ASSERT_EQ(row, expected) << "width " << width << (selected ? " with selection" : "");
            const LuminanceSum total = SumLuminanceRow(pixels.data(), selection, width);
            ASSERT_EQ(total.sum, sum) << "width " << width;
            ASSERT_EQ(total.count, count) << "width " << width;
        }
    }
}

} // namespace
} // namespace halvera
