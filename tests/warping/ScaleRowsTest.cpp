// The zoom's fixed-point blends against the double rule written out plainly:
// the weight search on fractions at and a rounding away from product
// boundaries, and the vector row kernels on every difference, every tail
// length and every instruction set they are compiled for that this
// processor has.
#include "warping/ScaleRows.h"

#include "EachInstructionSet.h"
#include "warping/ScaleWeights.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace halvera {
namespace {

using Bytes = std::vector<uint8_t>;

int PlainAcross(int left, int right, double dx) {
    return left + static_cast<int>(dx * (right - left));
}

int PlainDown(int top, int bottom, double dy) {
    return top + static_cast<int>((bottom - top) * dy + 0.5);
}

// Fractions k/n for every n up to `largest`, each with its neighbours one
// rounding step below and above (the double products of those land just
// below or on whole numbers), and fractions of zoom positions o * s / d.
std::vector<double> BoundaryFractions(int largest) {
    std::vector<double> fractions;
    for (int n = 1; n <= largest; ++n)
        for (int k = 0; k < n; ++k) {
            const double f = static_cast<double>(k) / n;
            fractions.push_back(f);
            if (k > 0)
                fractions.push_back(std::nextafter(f, 0.0));
            fractions.push_back(std::nextafter(f, 1.0));
        }
    for (int d = 1; d <= 40; ++d)
        for (int s = 1; s <= 40; ++s)
            for (int o = 0; o < d; ++o) {
                const double position = 3 + o * (static_cast<double>(s) / d);
                fractions.push_back(position - static_cast<int>(position));
            }
    return fractions;
}

// Whether any 16-bit w has (m * w) >> 16 == trunc(dx * m) for m = 0..255,
// from the bounds each m sets on w.
bool AcrossWeightExists(double dx) {
    int64_t lowest = 0;
    int64_t highest = 65535;
    for (int64_t m = 1; m <= 255; ++m) {
        const auto f = static_cast<int64_t>(dx * static_cast<double>(m));
        lowest = std::max(lowest, (f * 65536 + m - 1) / m);
        highest = std::min(highest, ((f + 1) * 65536 - 1) / m);
    }
    return lowest <= highest;
}

TEST(ScaleWeights, FindAnAcrossWeightWheneverOneExists) {
    int missing = 0;
    for (const double dx : BoundaryFractions(300)) {
        const bool exists = AcrossWeightExists(dx);
        EXPECT_EQ(AcrossWeight(dx).has_value(), exists) << dx;
        missing += !exists;
    }
    // Fractions with no weight do occur; their columns keep the double rule.
    EXPECT_GT(missing, 0);
    EXPECT_FALSE(AcrossWeight(7.0 / 10).has_value());
    EXPECT_FALSE(DownWeight(7.0 / 10).has_value());
}

TEST(ScaleWeights, ExactFractionsHaveTheirObviousWeights) {
    EXPECT_EQ(AcrossWeight(0.0), uint16_t{0});
    EXPECT_EQ(AcrossWeight(0.5), uint16_t{32768});
    EXPECT_EQ(AcrossWeight(0.25), uint16_t{16384});
    EXPECT_EQ(DownWeight(0.5), uint16_t{32768});
    EXPECT_EQ(DownWeight(0.0), uint16_t{0});
}

TEST(ScaleWeights, MostZoomFractionsHaveADownWeight) {
    int found = 0;
    const std::vector<double> fractions = BoundaryFractions(100);
    for (const double dy : fractions)
        found += DownWeight(dy).has_value();
    EXPECT_GT(found, static_cast<int>(fractions.size() * 98 / 100));
}

// Dispatches the kernels to one instruction set for the length of a test.
class ScaleRows : public testing::OnEachInstructionSet {};

HALVERA_ON_EACH_INSTRUCTION_SET(ScaleRows);

// A row holding every difference -255..255 once, each from a random pair of
// samples that has it.
void EveryDifference(std::mt19937& random, Bytes& first, Bytes& second) {
    first.resize(511);
    second.resize(511);
    for (int d = -255; d <= 255; ++d) {
        const int low = std::max(0, -d), high = std::min(255, 255 - d);
        const int a = low + static_cast<int>(random() % (high - low + 1));
        first[d + 255] = static_cast<uint8_t>(a);
        second[d + 255] = static_cast<uint8_t>(a + d);
    }
}

TEST_P(ScaleRows, BlendAcrossGivesTheDoubleRuleForEveryDifference) {
    std::mt19937 random(5);
    Bytes left, right, out(511);
    for (const double dx : BoundaryFractions(80)) {
        const std::optional<uint16_t> weight = AcrossWeight(dx);
        if (!weight)
            continue;
        EveryDifference(random, left, right);
        const std::vector<uint16_t> weights(511, *weight);
        BlendAcrossRow(left.data(), right.data(), weights.data(), out.data(), 511);
        for (int i = 0; i < 511; ++i)
            ASSERT_EQ(out[i], PlainAcross(left[i], right[i], dx))
                << "dx " << dx << " left " << int{left[i]} << " right " << int{right[i]};
    }
}

TEST_P(ScaleRows, BlendDownGivesTheDoubleRuleForEveryDifference) {
    std::mt19937 random(6);
    Bytes top, bottom, out(511);
    for (const double dy : BoundaryFractions(80)) {
        const std::optional<uint16_t> weight = DownWeight(dy);
        if (!weight)
            continue;
        EveryDifference(random, top, bottom);
        BlendDownRow(top.data(), bottom.data(), *weight, out.data(), 511);
        for (int i = 0; i < 511; ++i)
            ASSERT_EQ(out[i], PlainDown(top[i], bottom[i], dy))
                << "dy " << dy << " top " << int{top[i]} << " bottom " << int{bottom[i]};
    }
}

TEST_P(ScaleRows, EveryRowLengthWithADifferentWeightInEachColumn) {
    // Rows of 1..200 bytes, three channels to a column, each column with its
    // own fraction: every tail the vector loop can leave. The byte after the
    // row must stay as it was.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    for (int count = 1; count <= 200; ++count) {
        Bytes first(count), second(count), out(count + 1, 0xA5);
        std::vector<uint16_t> weights(count);
        std::vector<double> across(count);
        for (int i = 0; i < count; ++i) {
            first[i] = static_cast<uint8_t>(random());
            second[i] = static_cast<uint8_t>(random());
            if (i % 3 == 0) {
                do
                    across[i] = fraction(random);
                while (!AcrossWeight(across[i]));
            } else {
                across[i] = across[i - 1];
            }
            weights[i] = *AcrossWeight(across[i]);
        }
        BlendAcrossRow(first.data(), second.data(), weights.data(), out.data(), count);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(out[i], PlainAcross(first[i], second[i], across[i])) << count << " " << i;
        ASSERT_EQ(out[count], 0xA5) << count;

        double dy = 0.0;
        do
            dy = fraction(random);
        while (!DownWeight(dy));
        BlendDownRow(first.data(), second.data(), *DownWeight(dy), out.data(), count);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(out[i], PlainDown(first[i], second[i], dy)) << count << " " << i;
        ASSERT_EQ(out[count], 0xA5) << count;
    }
}

} // namespace
} // namespace halvera
