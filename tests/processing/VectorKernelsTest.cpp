// The vector row kernels against plain scalar versions of their formulas:
// exhaustively where the input space allows, otherwise on random rows of
// every width up to a few vectors (so each tail length is met), with masks of
// 0, 255 and in-between bytes. Every test runs once for each instruction set
// the kernels are compiled for that this processor has.
#include "EachInstructionSet.h"
#include "image/DibImage.h"
#include "processing/ArithmeticRows.h"
#include "processing/BoxMeanRows.h"
#include "processing/ChannelMapping.h"
#include "processing/FilterMedian.h"
#include "processing/HsvToRgb.h"
#include "processing/HueSaturationRows.h"
#include "processing/ImageArithmetic.h"
#include "processing/InvertRows.h"
#include "processing/LuminanceRows.h"
#include "processing/MedianRows.h"
#include "processing/RgbToHsv.h"
#include "processing/WeightedMeanRows.h"
#include "warping/MirrorRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
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

// Dispatches the kernels to one instruction set for the length of a test.
class VectorKernels : public testing::OnEachInstructionSet {};

HALVERA_ON_EACH_INSTRUCTION_SET(VectorKernels);

TEST_P(VectorKernels, GreyRowGivesThePlainGreyOfEveryColour) {
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

TEST_P(VectorKernels, GreyRowsWithAndWithoutSelectionMatchThePlainLoop) {
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

int PlainArithmetic(ArithmeticRowKind kind, int a, int b, int t) {
    const int scaled = b * t / 100;
    switch (kind) {
    case ArithmeticRowKind::Add:
        return (a * (100 - t) + b * t) / 100;
    case ArithmeticRowKind::Minus:
        return std::max(0, (100 * a - t * b) / 100);
    case ArithmeticRowKind::Max:
        return std::max(a, scaled);
    case ArithmeticRowKind::Min:
        return std::min(a, scaled);
    case ArithmeticRowKind::Sub:
        return std::abs(a - scaled);
    }
    return -1;
}

TEST_P(VectorKernels, ArithmeticRowsMatchTheFormulasForEveryOperandPairAndTransparency) {
    // All 65536 pairs (a, b) in one row, at every transparency.
    Bytes a(65536), b(65536);
    for (int i = 0; i < 65536; ++i) {
        a[i] = static_cast<uint8_t>(i);
        b[i] = static_cast<uint8_t>(i >> 8);
    }
    for (const ArithmeticRowKind kind :
         {ArithmeticRowKind::Add, ArithmeticRowKind::Minus, ArithmeticRowKind::Max,
          ArithmeticRowKind::Min, ArithmeticRowKind::Sub}) {
        for (int t = 0; t <= 100; ++t) {
            Bytes out(a.size());
            ArithmeticRow(kind, a.data(), b.data(), out.data(), out.size(), t);
            for (int i = 0; i < 65536; ++i)
                ASSERT_EQ(out[i], PlainArithmetic(kind, a[i], b[i], t))
                    << "kind " << int(kind) << " t " << t << " a " << int(a[i]) << " b "
                    << int(b[i]);
        }
    }
}

TEST_P(VectorKernels, ArithmeticRowsOfEveryLengthAndInPlace) {
    std::mt19937 random(5);
    for (size_t count = 0; count <= 3 * kMaxWidth; ++count) {
        const Bytes a = RandomBytes(random, count), b = RandomBytes(random, count);
        const int t = static_cast<int>(random() % 101);
        Bytes out(count + 1, 77), inPlace = a;
        ArithmeticRow(ArithmeticRowKind::Sub, a.data(), b.data(), out.data(), count, t);
        ArithmeticRow(ArithmeticRowKind::Sub, inPlace.data(), b.data(), inPlace.data(), count, t);
        for (size_t i = 0; i < count; ++i) {
            ASSERT_EQ(out[i], PlainArithmetic(ArithmeticRowKind::Sub, a[i], b[i], t)) << count;
            ASSERT_EQ(inPlace[i], out[i]) << count;
        }
        ASSERT_EQ(out[count], 77) << "nothing written past the row";
    }
}

TEST_P(VectorKernels, StreamedArithmeticRowsGiveTheSameBytesAtEveryAlignment) {
    // Every kind at full and partial transparency, the result at every offset
    // within a cache line and of every length up to a few vectors, in place
    // too; nothing is written around the row.
    std::mt19937 random(71);
    for (const ArithmeticRowKind kind :
         {ArithmeticRowKind::Add, ArithmeticRowKind::Minus, ArithmeticRowKind::Max,
          ArithmeticRowKind::Min, ArithmeticRowKind::Sub})
        for (const int t : {100, 0, 50, 63})
            for (size_t shift = 0; shift < 64; shift += 5)
                for (size_t count = 0; count <= 260; count += 17) {
                    const Bytes a = RandomBytes(random, count), b = RandomBytes(random, count);
                    Bytes out(count + 128, 77);
                    StreamArithmeticRow(kind, a.data(), b.data(), out.data() + shift, count, t);
                    Bytes inPlace(count + 64);
                    std::copy(a.begin(), a.end(), inPlace.begin() + shift);
                    StreamArithmeticRow(kind, inPlace.data() + shift, b.data(),
                                        inPlace.data() + shift, count, t);
                    FinishStreamedArithmeticRows();
                    for (size_t i = 0; i < out.size(); ++i) {
                        const bool inside = i >= shift && i < shift + count;
                        const int expected =
                            inside ? PlainArithmetic(kind, a[i - shift], b[i - shift], t) : 77;
                        ASSERT_EQ(out[i], expected)
                            << "kind " << int(kind) << " t " << t << " shift " << shift << " count "
                            << count << " at " << i;
                        if (inside) {
                            ASSERT_EQ(inPlace[i], expected) << "in place, count " << count;
                        }
                    }
                }
}

TEST_P(VectorKernels, ExactDivisionsHoldOverTheirWholeRange) {
    // Not every divisor has a 16-bit form (1 would need 65536); kernels with
    // such a weight sum take the table path. The low pass's 25 has one.
    EXPECT_FALSE(FindExactDivision(1, 255));
    EXPECT_TRUE(FindExactDivision(25, 255 * 25));
    for (int32_t divisor = 2; divisor <= 257; ++divisor) {
        const std::optional<ExactDivision> division = FindExactDivision(divisor, 255 * divisor);
        if (!division)
            continue;
        for (int32_t sum = 0; sum <= 255 * divisor; ++sum)
            ASSERT_EQ((int64_t{sum} * division->multiplier) >> (16 + division->shift),
                      sum / divisor)
                << sum << " / " << divisor;
    }
}

TEST_P(VectorKernels, WeightedMeanRowsMatchThePlainSumWithReplicatedEnds) {
    std::mt19937 random(23);
    const std::array<uint16_t, 9> lowPass = {2, 3, 2, 3, 5, 3, 2, 3, 2};
    for (int32_t width = 1; width <= kMaxWidth; ++width) {
        std::array<uint16_t, 9> weights = lowPass;
        if (width % 2 == 0) // also lopsided kernels with other divisors
            for (uint16_t& w : weights)
                w = static_cast<uint16_t>(random() % 29);
        int32_t divisor = 0;
        for (const uint16_t w : weights)
            divisor += w;
        if (divisor < 2)
            continue;
        const std::optional<ExactDivision> division = FindExactDivision(divisor, 255 * divisor);
        if (!division)
            continue;
        const size_t bytes = 3 * size_t(width);
        const Bytes n = RandomBytes(random, bytes), c = RandomBytes(random, bytes),
                    s = RandomBytes(random, bytes);
        Bytes out(bytes + 1, 99);
        WeightedMeanRow(n.data(), c.data(), s.data(), out.data(), width, weights, *division);
        for (size_t i = 0; i < bytes; ++i) {
            const size_t west = i < 3 ? i : i - 3;
            const size_t east = i + 3 >= bytes ? i : i + 3;
            const int32_t sum = weights[0] * n[west] + weights[1] * n[i] + weights[2] * n[east] +
                                weights[3] * c[west] + weights[4] * c[i] + weights[5] * c[east] +
                                weights[6] * s[west] + weights[7] * s[i] + weights[8] * s[east];
            ASSERT_EQ(out[i], sum / divisor) << "width " << width << " byte " << i;
        }
        ASSERT_EQ(out[bytes], 99) << "nothing written past the row";
    }
}

TEST_P(VectorKernels, MirroredRowsAreThePixelsInReverseOrder) {
    std::mt19937 random(31);
    for (int32_t width = 1; width <= kMaxWidth; ++width) {
        const Bytes rgb = RandomBytes(random, 3 * size_t(width));
        Bytes mirrored = rgb;
        mirrored.push_back(55);
        MirrorRgbRow(mirrored.data(), width);
        for (int32_t x = 0; x < width; ++x)
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(mirrored[3 * size_t(x) + k], rgb[3 * size_t(width - 1 - x) + k])
                    << "width " << width << " pixel " << x;
        ASSERT_EQ(mirrored.back(), 55);

        const Bytes plane = RandomBytes(random, size_t(width));
        Bytes flipped = plane;
        flipped.push_back(55);
        MirrorByteRow(flipped.data(), width);
        for (int32_t x = 0; x < width; ++x)
            ASSERT_EQ(flipped[x], plane[size_t(width - 1 - x)]) << "width " << width;
        ASSERT_EQ(flipped.back(), 55);
    }
}

TEST_P(VectorKernels, StreamedRowCopiesAreWholeAtEveryAlignment) {
    std::mt19937 random(37);
    const Bytes source = RandomBytes(random, 700);
    for (size_t shift = 0; shift < 64; ++shift)
        for (size_t bytes = 0; bytes + shift <= 600; bytes += 37) {
            Bytes target(700, 3);
            StreamRowCopy(source.data(), target.data() + shift, bytes);
            FinishStreamedCopies();
            for (size_t i = 0; i < target.size(); ++i) {
                const bool inside = i >= shift && i < shift + bytes;
                ASSERT_EQ(target[i], inside ? source[i - shift] : 3)
                    << "shift " << shift << " bytes " << bytes << " at " << i;
            }
        }
}

TEST_P(VectorKernels, ExchangedRowsKeepTheirCopiesAtEveryAlignment) {
    // Both copies at every offset within a cache line relative to each other
    // (streamed together or only the top one), rows of every length up to a
    // few lines; nothing around the rows and copies is touched.
    std::mt19937 random(41);
    constexpr size_t kRoom = 400;
    for (size_t shift = 0; shift < 64; shift += 3)
        for (const size_t bottomShift : {size_t{0}, size_t{5}, size_t{32}})
            for (size_t bytes = 0; bytes <= 300; bytes += 13) {
                const Bytes top = RandomBytes(random, kRoom);
                const Bytes bottom = RandomBytes(random, kRoom);
                Bytes topRow = top, bottomRow = bottom;
                Bytes copies(3 * kRoom, 7);
                uint8_t* topCopy = copies.data() + shift;
                uint8_t* bottomCopy = copies.data() + kRoom + 64 + shift + bottomShift;
                ExchangeRowsKeepingCopies(topRow.data() + 1, bottomRow.data() + 1, topCopy,
                                          bottomCopy, bytes);
                FinishStreamedCopies();
                Bytes expectedTop = top, expectedBottom = bottom, expectedCopies(3 * kRoom, 7);
                for (size_t i = 0; i < bytes; ++i) {
                    expectedTop[1 + i] = bottom[1 + i];
                    expectedBottom[1 + i] = top[1 + i];
                    expectedCopies[size_t(topCopy - copies.data()) + i] = top[1 + i];
                    expectedCopies[size_t(bottomCopy - copies.data()) + i] = bottom[1 + i];
                }
                ASSERT_EQ(topRow, expectedTop) << "shift " << shift << " bytes " << bytes;
                ASSERT_EQ(bottomRow, expectedBottom) << "shift " << shift << " bytes " << bytes;
                ASSERT_EQ(copies, expectedCopies)
                    << "shift " << shift << " bottom shift " << bottomShift << " bytes " << bytes;
            }
}

TEST_P(VectorKernels, InvertedBytesAreTheComplementsForEveryLength) {
    std::mt19937 random(41);
    for (int32_t count = 0; count <= 3 * kMaxWidth; ++count) {
        const Bytes bytes = RandomBytes(random, size_t(count));
        Bytes row = bytes;
        row.push_back(12);
        InvertBytes(row.data(), count);
        for (int32_t i = 0; i < count; ++i)
            ASSERT_EQ(row[i], 255 - bytes[i]) << "count " << count;
        ASSERT_EQ(row.back(), 12) << "nothing written past the row";
    }
}

TEST_P(VectorKernels, OneTableMappingsOfLargeImagesGiveEveryByteItsEntry) {
    // Large enough for the two-byte table; an odd width leaves a tail per row.
    std::mt19937 random(43);
    DibBlock source, destination;
    ASSERT_TRUE(CreateRgb(source, 601, 450));
    ASSERT_TRUE(CreateRgb(destination, 601, 450));
    const Bytes bytes = RandomBytes(random, size_t(source.dib().bitsSize));
    std::copy(bytes.begin(), bytes.end(), source.dib().bits);
    LevelTable table;
    for (uint8_t& entry : table)
        entry = static_cast<uint8_t>(random());
    const RegionOfInterest none(CDibImage{});
    MapChannels(destination.dib(), source.dib(), none, table, table, table);
    for (int32_t y = 0; y < 450; ++y)
        for (int32_t i = 0; i < 3 * 601; ++i)
            ASSERT_EQ(destination.dib().row(y)[i], table[source.dib().row(y)[i]])
                << "row " << y << " byte " << i;
    // In place, as a preview over the working copy itself may run.
    MapChannels(source.dib(), source.dib(), none, table, table, table);
    for (int32_t y = 0; y < 450; ++y)
        ASSERT_EQ(0, std::memcmp(source.dib().row(y), destination.dib().row(y), 3 * 601));
}

TEST_P(VectorKernels, LuminanceRowsAreThePlainGreyLevels) {
    std::mt19937 random(47);
    for (int32_t width = 1; width <= kMaxWidth; ++width) {
        const Bytes pixels = RandomBytes(random, 3 * size_t(width));
        Bytes levels(size_t(width) + 1, 7);
        LuminanceRow(pixels.data(), levels.data(), width);
        for (int32_t x = 0; x < width; ++x)
            ASSERT_EQ(levels[x], PlainGrey(&pixels[3 * size_t(x)])) << "width " << width;
        ASSERT_EQ(levels.back(), 7);
    }
}

// The plain rule: the nine neighbours in column order NW, W, SW, N, C, S, NE,
// E, SE; sort their grey levels, take the sixth smallest, and copy the first
// neighbour holding it.
void PlainMedianPixel(const std::array<const Bytes*, 3>& rows, int32_t width, int32_t x,
                      uint8_t* out) {
    const int32_t columns[3] = {std::max(x - 1, 0), x, std::min(x + 1, width - 1)};
    std::array<int, 9> levels{};
    for (int k = 0; k < 9; ++k)
        levels[k] = PlainGrey(&(*rows[k % 3])[3 * size_t(columns[k / 3])]);
    std::array<int, 9> sorted = levels;
    std::sort(sorted.begin(), sorted.end());
    const auto k = std::find(levels.begin(), levels.end(), sorted[5]) - levels.begin();
    const uint8_t* pixel = &(*rows[k % 3])[3 * size_t(columns[k / 3])];
    std::copy(pixel, pixel + 3, out);
}

TEST_P(VectorKernels, MedianRowsFollowThePlainRankRule) {
    std::mt19937 random(53);
    for (int32_t width = 1; width <= kMaxWidth; ++width)
        for (const int levelsUsed : {3, 256}) { // few levels: many equal grey levels
            Bytes n(3 * size_t(width)), c(n.size()), s(n.size());
            for (Bytes* row : {&n, &c, &s})
                for (uint8_t& byte : *row)
                    byte = static_cast<uint8_t>(random() % levelsUsed);
            Bytes ln(width), lc(width), ls(width);
            LuminanceRow(n.data(), ln.data(), width);
            LuminanceRow(c.data(), lc.data(), width);
            LuminanceRow(s.data(), ls.data(), width);
            Bytes out(n.size() + 1, 99);
            MedianRow(ln.data(), lc.data(), ls.data(), n.data(), c.data(), s.data(), width,
                      out.data());
            for (int32_t x = 0; x < width; ++x) {
                uint8_t expected[3];
                PlainMedianPixel({&n, &c, &s}, width, x, expected);
                for (int k = 0; k < 3; ++k)
                    ASSERT_EQ(out[3 * size_t(x) + k], expected[k])
                        << "width " << width << " x " << x;
            }
            ASSERT_EQ(out.back(), 99);
        }
}

// A random picture of `width` x `height` and a random region (bytes 0, 255
// and in between) of its size.
struct RandomPicture {
    DibBlock image, mask;
    RandomPicture(std::mt19937& random, int32_t width, int32_t height) {
        EXPECT_TRUE(CreateRgb(image, width, height));
        EXPECT_TRUE(CreateGrey(mask, width, height));
        for (int32_t y = 0; y < height; ++y) {
            const Bytes pixels = RandomBytes(random, 3 * size_t(width));
            std::copy(pixels.begin(), pixels.end(), image.dib().row(y));
            const Bytes selection = RandomMask(random, size_t(width));
            std::copy(selection.begin(), selection.end(), mask.dib().row(y));
        }
    }
    const uint8_t* pixel(int32_t x, int32_t y) const {
        return image.dib().row(y) + 3 * ptrdiff_t{x};
    }
};

TEST_P(VectorKernels, MedianOfWholeImagesFollowsThePlainRuleInAndOutsideARegion) {
    std::mt19937 random(61);
    for (const auto& [width, height] :
         {std::pair{1, 1}, std::pair{2, 3}, std::pair{35, 2}, std::pair{71, 6}, std::pair{130, 4}})
        for (const bool limited : {false, true}) {
            const RandomPicture source(random, width, height);
            DibBlock destination;
            ASSERT_TRUE(CreateRgb(destination, width, height));
            for (int32_t y = 0; y < height; ++y)
                std::memcpy(destination.dib().row(y), source.image.dib().row(y), 3 * size_t(width));
            ASSERT_TRUE(FilterMedian(destination.dib(), source.image.dib(),
                                     limited ? source.mask.dib() : CDibImage{}));
            for (int32_t y = 0; y < height; ++y) {
                const Bytes north(source.image.dib().row(std::max(y - 1, 0)),
                                  source.image.dib().row(std::max(y - 1, 0)) + 3 * width);
                const Bytes centre(source.pixel(0, y), source.pixel(0, y) + 3 * width);
                const int32_t below = std::min(y + 1, height - 1);
                const Bytes south(source.pixel(0, below), source.pixel(0, below) + 3 * width);
                for (int32_t x = 0; x < width; ++x) {
                    uint8_t expected[3];
                    if (!limited || source.mask.dib().row(y)[x] == 255)
                        PlainMedianPixel({&north, &centre, &south}, width, x, expected);
                    else
                        std::copy(source.pixel(x, y), source.pixel(x, y) + 3, expected);
                    for (int k = 0; k < 3; ++k)
                        ASSERT_EQ(destination.dib().row(y)[3 * x + k], expected[k])
                            << width << " x " << height << (limited ? " in a region" : "") << " at "
                            << x << "," << y;
                }
            }
        }
}

TEST_P(VectorKernels, ArithmeticOfWholeImagesMatchesTheFormulasWithShiftsAndRegions) {
    // Sub and Add (the blend) at full and partial transparency, B shifted
    // every way, with and without a region limiting the result.
    std::mt19937 random(67);
    constexpr int32_t kWidth = 75, kHeight = 7;
    const RandomPicture a(random, kWidth, kHeight);
    const RandomPicture b(random, kWidth - 4, kHeight + 1);
    for (const ArithmeticOperation operation : {ArithmeticOperation::Sub, ArithmeticOperation::Add})
        for (const int t : {100, 50, 37})
            for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{3, -2}, std::pair{-5, 1}})
                for (const bool limited : {false, true}) {
                    ArithmeticSettings settings;
                    settings.operation = operation;
                    settings.transparency = t;
                    settings.xShift = dx;
                    settings.yShift = dy;
                    settings.limitToRegion = limited;
                    DibBlock result;
                    ASSERT_TRUE(CreateRgb(result, kWidth, kHeight));
                    ASSERT_TRUE(ImageArithmetic(result.dib(), a.image.dib(), a.mask.dib(),
                                                b.image.dib(), settings));
                    const ArithmeticRowKind kind = operation == ArithmeticOperation::Sub
                                                       ? ArithmeticRowKind::Sub
                                                       : ArithmeticRowKind::Add;
                    for (int32_t y = 0; y < kHeight; ++y)
                        for (int32_t x = 0; x < kWidth; ++x) {
                            const int32_t bx = x - dx, by = y - dy;
                            const bool paired =
                                bx >= 0 && bx < kWidth - 4 && by >= 0 && by < kHeight + 1;
                            const bool computed =
                                paired && (!limited || a.mask.dib().row(y)[x] == 255);
                            for (int k = 0; k < 3; ++k) {
                                const int expected = computed
                                                         ? PlainArithmetic(kind, a.pixel(x, y)[k],
                                                                           b.pixel(bx, by)[k], t)
                                                         : a.pixel(x, y)[k];
                                ASSERT_EQ(result.dib().row(y)[3 * x + k], expected)
                                    << "t " << t << " shift " << dx << "," << dy
                                    << (limited ? " in a region" : "") << " at " << x << "," << y;
                            }
                        }
                }
}

TEST_P(VectorKernels, BoxMeanRowsMatchThePlainSumsAndDivision) {
    std::mt19937 random(59);
    for (int32_t radius = 1; radius <= 7; ++radius)
        for (int32_t width = 2 * radius + 1; width <= kMaxWidth; width += 7) {
            const size_t bytes = 3 * size_t(width);
            std::vector<int32_t> sums(bytes), plain(bytes);
            for (int step = 0; step < 2 * radius + 3; ++step) {
                const Bytes row = RandomBytes(random, bytes);
                const bool add = step < 2 * radius + 1;
                AccumulateRow(sums.data(), row.data(), bytes, add);
                for (size_t i = 0; i < bytes; ++i)
                    plain[i] += add ? row[i] : -row[i];
            }
            ASSERT_EQ(sums, plain) << "radius " << radius << " width " << width;
            // Column sums of `rows` rows of bytes, so that every mean is a level.
            const auto rows = 1 + static_cast<int32_t>(random() % 15);
            for (int32_t& sum : sums)
                sum = static_cast<int32_t>(random() % (255 * uint32_t(rows) + 1));
            const int32_t count = (2 * radius + 1) * rows;
            const float reciprocal = 1.0f / static_cast<float>(count);
            const int32_t begin = 3 * radius, end = 3 * (width - radius);
            Bytes out(bytes, 7);
            BoxMeanAcross(sums.data(), out.data(), begin, end, radius, reciprocal);
            for (int32_t i = 0; i < int32_t(bytes); ++i) {
                if (i < begin || i >= end) {
                    ASSERT_EQ(out[i], 7) << "written outside begin..end";
                    continue;
                }
                int32_t sum = 0;
                for (int32_t k = -radius; k <= radius; ++k)
                    sum += sums[i + 3 * k];
                ASSERT_EQ(out[i], static_cast<uint8_t>(static_cast<int32_t>(
                                      (static_cast<float>(sum) + 0.5f) * reciprocal)))
                    << "radius " << radius << " width " << width << " byte " << i;
            }
        }
}

// The hue/saturation adjustment of one pixel through the scalar conversions.
void PlainHueSaturation(const uint8_t* in, uint8_t* out, HueSaturationShift shift) {
    const HsvColour hsv = RgbToHsv(in[2], in[1], in[0]);
    const RgbColour rgb =
        HsvToRgb((hsv.hue + shift.hue) % 360, std::clamp(hsv.saturation + shift.saturation, 0, 255),
                 std::clamp(hsv.value + shift.value, 0, 255));
    out[0] = static_cast<uint8_t>(rgb.blue);
    out[1] = static_cast<uint8_t>(rgb.green);
    out[2] = static_cast<uint8_t>(rgb.red);
}

// No change, the benchmark's settings, both extremes, and shifts that move
// the hue across 0 and 360 with clamping on either side.
constexpr HueSaturationShift kHueSaturationShifts[] = {
    {0, 0, 0}, {40, 25, -12}, {359, 255, 255}, {180, -255, -255}, {1, -100, 100}, {300, 77, -200},
};

TEST_P(VectorKernels, HueSaturationRowGivesTheScalarConversionsForEveryColour) {
    // Every one of the 2^24 colours: one row per red level, all green and blue pairs.
    Bytes row(size_t{65536} * 3), out(row.size()), expected(row.size());
    for (const HueSaturationShift shift : kHueSaturationShifts)
        for (int red = 0; red < 256; ++red) {
            for (int i = 0; i < 65536; ++i) {
                row[3 * i] = static_cast<uint8_t>(i);
                row[3 * i + 1] = static_cast<uint8_t>(i >> 8);
                row[3 * i + 2] = static_cast<uint8_t>(red);
                PlainHueSaturation(&row[3 * i], &expected[3 * i], shift);
            }
            HueSaturationRow(row.data(), out.data(), nullptr, 65536, shift);
            for (int i = 0; i < 65536; ++i)
                ASSERT_TRUE(std::equal(&out[3 * i], &out[3 * i + 3], &expected[3 * i]))
                    << "shift " << shift.hue << "/" << shift.saturation << "/" << shift.value
                    << " blue " << (i & 255) << " green " << (i >> 8) << " red " << red << " gives "
                    << int(out[3 * i]) << "," << int(out[3 * i + 1]) << "," << int(out[3 * i + 2]);
        }
}

TEST_P(VectorKernels, HueSaturationRowsOfEveryWidthWithAndWithoutSelection) {
    std::mt19937 random(31);
    for (int32_t width = 1; width <= kMaxWidth; ++width) {
        const HueSaturationShift shift =
            kHueSaturationShifts[width % std::size(kHueSaturationShifts)];
        const Bytes pixels = RandomBytes(random, size_t(width) * 3);
        const Bytes mask = RandomMask(random, size_t(width));
        // The destination holds other bytes than the source, and one guard
        // byte past the row.
        const Bytes before = RandomBytes(random, size_t(width) * 3 + 1);
        for (const bool selected : {false, true}) {
            const uint8_t* selection = selected ? mask.data() : nullptr;
            Bytes expected = before;
            for (int32_t x = 0; x < width; ++x)
                if (!selected || mask[x] == 255)
                    PlainHueSaturation(&pixels[3 * size_t(x)], &expected[3 * size_t(x)], shift);
            Bytes out = before;
            HueSaturationRow(pixels.data(), out.data(), selection, width, shift);
            ASSERT_EQ(out, expected) << "width " << width << (selected ? " with selection" : "");
            // In place: unselected pixels keep their own bytes.
            Bytes inPlace = pixels, expectedInPlace = pixels;
            for (int32_t x = 0; x < width; ++x)
                if (!selected || mask[x] == 255)
                    std::copy_n(&expected[3 * size_t(x)], 3, &expectedInPlace[3 * size_t(x)]);
            HueSaturationRow(inPlace.data(), inPlace.data(), selection, width, shift);
            ASSERT_EQ(inPlace, expectedInPlace)
                << "in place, width " << width << (selected ? " with selection" : "");
        }
    }
}

} // namespace
} // namespace halvera
