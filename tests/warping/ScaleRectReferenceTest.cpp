// ScaleRect against a plain pixel-by-pixel rendering of the same zoom: the
// vector kernels, the fixed-point weights and the rows shared between
// destination rows must give every byte of image and mask exactly as the
// straightforward evaluation of the rule does, on every instruction set the
// kernels are compiled for that this processor has.
#include "EachInstructionSet.h"
#include "WarpTestImages.h"
#include "warping/Bilinear.h"
#include "warping/ScaleRect.h"
#include "warping/ScaleWeights.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace halvera::testing {
namespace {

// Where destination coordinate t of one axis samples the source, if it does:
// the span runs from its lower to its higher end, is cut to 10240, mirrored
// when given backwards, and only source positions whose truncation lies in
// 0..limit are used.
struct Sample {
    int32_t whole;
    double fraction;
};

std::optional<Sample> SampleOf(int64_t t, int32_t from, int32_t to, int32_t sourceFirst,
                               int32_t sourceExtent, int32_t limit) {
    const int64_t low = std::min(from, to);
    const int64_t high = std::min<int64_t>(std::max(from, to), low + kMaxScaledExtent - 1);
    if (t < low || t > high)
        return std::nullopt;
    const double scale = static_cast<double>(sourceExtent) / static_cast<double>(high - low + 1);
    const int64_t offset = to < from ? high - t : t - low;
    const double position = sourceFirst + static_cast<double>(offset) * scale;
    const auto whole = static_cast<int32_t>(position);
    if (whole > limit)
        return std::nullopt;
    return Sample{whole, position - whole};
}

// The zoom written out pixel by pixel, on buffers prepared as ScaleRect's.
void ReferenceScale(WarpBuffersFixture& f, const PixelRect& source, const PixelRect& destination,
                    bool region) {
    const CDibImage image = f.image.dib(), working = f.working.dib();
    const int32_t width = image.width(), height = image.height;
    DibBlock savedCopy = MakeGrey(width, height, [&](int x, int y) {
        return region ? ByteAt(f.savedMask.dib(), x, y) : uint8_t{0};
    });
    if (region)
        std::memset(f.mask.dib().bits, 0, static_cast<size_t>(f.mask.dib().bitsSize));
    for (int32_t y = 0; y < height - 1; ++y) {
        const auto v = SampleOf(y, destination.top, destination.bottom, source.top, source.height(),
                                height - 2);
        if (!v)
            continue;
        for (int32_t x = 0; x < width - 1; ++x) {
            const auto u = SampleOf(x, destination.left, destination.right, source.left,
                                    source.width(), width - 2);
            if (!u)
                continue;
            if (region) {
                const uint8_t selected = ByteAt(savedCopy.dib(), u->whole, v->whole);
                SetByte(f.mask.dib(), x, y, selected);
                if (selected != 255)
                    continue;
            }
            BilinearPixel(working.row(v->whole) + 3 * u->whole,
                          working.row(v->whole + 1) + 3 * u->whole, u->fraction, v->fraction,
                          image.row(y) + 3 * x);
        }
    }
}

Bgr Noise(std::mt19937& random) {
    return Bgr{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
               static_cast<uint8_t>(random())};
}

class ScaleRectReference : public testing::OnEachInstructionSet {
protected:
    // Renders the zoom both ways, with or without a random region, and
    // compares every byte of the image and the mask blocks.
    void ExpectSameAsReference(int width, int height, const PixelRect& source,
                               const PixelRect& destination, bool region, uint32_t seed) {
        std::mt19937 random(seed);
        std::vector<Bgr> pixels(static_cast<size_t>(width) * height);
        for (Bgr& pixel : pixels)
            pixel = Noise(random);
        const auto colour = [&](int x, int y) {
            return pixels[static_cast<size_t>(y) * width + x];
        };
        WarpBuffersFixture actual(width, height, colour);
        WarpBuffersFixture expected(width, height, colour);
        if (region) {
            std::vector<uint8_t> selected(pixels.size());
            for (uint8_t& s : selected)
                s = random() % 3 != 0;
            const auto pick = [&](int x, int y) {
                return selected[static_cast<size_t>(y) * width + x] != 0;
            };
            actual.Select(pick);
            expected.Select(pick);
        }
        ASSERT_TRUE(ScaleRect(actual.image.dib(), actual.working.dib(), actual.mask.dib(),
                              actual.savedMask.dib(), source, destination));
        ReferenceScale(expected, source, destination, region);
        const auto describe = [&] {
            return std::to_string(width) + " x " + std::to_string(height) + " source " +
                   std::to_string(source.left) + "," + std::to_string(source.top) + "," +
                   std::to_string(source.right) + "," + std::to_string(source.bottom) +
                   " destination " + std::to_string(destination.left) + "," +
                   std::to_string(destination.top) + "," + std::to_string(destination.right) + "," +
                   std::to_string(destination.bottom) + (region ? " with region" : "");
        };
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(PixelAt(actual.image.dib(), x, y), PixelAt(expected.image.dib(), x, y))
                    << "pixel " << x << "," << y << " of " << describe();
                ASSERT_EQ(ByteAt(actual.mask.dib(), x, y), ByteAt(expected.mask.dib(), x, y))
                    << "mask " << x << "," << y << " of " << describe();
            }
    }

    void ExpectBothWays(int width, int height, const PixelRect& source,
                        const PixelRect& destination) {
        ExpectSameAsReference(width, height, source, destination, false, 7);
        ExpectSameAsReference(width, height, source, destination, true, 8);
    }
};

HALVERA_ON_EACH_INSTRUCTION_SET(ScaleRectReference);

TEST_P(ScaleRectReference, DoublesAndHalvesWholeImages) {
    for (const int side : {2, 3, 17, 64, 101}) {
        ExpectBothWays(side, side + 1, {side / 4, side / 4, side / 2, side / 2},
                       {0, 0, side - 1, side});
        ExpectBothWays(side, side + 1, {0, 0, side - 1, side}, {0, 0, side / 2, side / 2});
    }
}

TEST_P(ScaleRectReference, MirroredAndCutAtTheImageEdge) {
    // Mirrored either way or both, and reaching past every edge of the image.
    ExpectBothWays(45, 33, {3, 2, 30, 25}, {50, 0, -9, 40});
    ExpectBothWays(45, 33, {3, 2, 30, 25}, {-12, 40, 60, -5});
    ExpectBothWays(45, 33, {0, 0, 44, 32}, {44, 32, 0, 0});
    ExpectBothWays(37, 29, {5, 5, 20, 20}, {-100, -80, 130, 90});
}

TEST_P(ScaleRectReference, OneAndTwoPixelSourcesAndNarrowImages) {
    ExpectBothWays(9, 7, {3, 2, 3, 2}, {0, 0, 8, 6});
    ExpectBothWays(9, 7, {3, 2, 4, 3}, {0, 0, 8, 6});
    ExpectBothWays(9, 7, {7, 5, 8, 6}, {8, 6, 0, 0}); // the last column and row have no neighbour
    ExpectBothWays(2, 2, {0, 0, 1, 1}, {0, 0, 1, 1});
    ExpectBothWays(2, 5, {0, 0, 1, 4}, {1, 4, 0, 0});
    ExpectBothWays(3, 40, {0, 0, 2, 39}, {0, 0, 2, 12});
}

TEST_P(ScaleRectReference, RatiosWhoseFractionsSitOnProductBoundaries) {
    // Positions 1 + o * sw / dw land on or a rounding away from k/n for many
    // n; some of their fractions have no 16-bit weight (7 onto 10 gives
    // fractions just below 0.7), so columns and rows of both kinds are met.
    int unweightedColumns = 0, unweightedRows = 0;
    for (const int dw : {7, 10, 11, 15, 17, 20, 22, 30, 33, 49, 90, 97}) {
        for (const int sw : {3, 7, 10, 13, 21, 64}) {
            const int side = std::max(dw, sw) + 3;
            ExpectSameAsReference(side, side, {1, 1, sw, sw}, {1, 1, dw, dw}, false, sw + dw);
            for (int o = 0; o < dw; ++o) {
                const double position = 1 + o * (static_cast<double>(sw) / dw);
                const double fraction = position - static_cast<int>(position);
                unweightedColumns += !AcrossWeight(fraction).has_value();
                unweightedRows += !DownWeight(fraction).has_value();
            }
        }
    }
    EXPECT_GT(unweightedColumns, 0);
    EXPECT_GT(unweightedRows, 0);
    ExpectBothWays(80, 80, {0, 0, 69, 69}, {0, 0, 48, 48});
}

TEST_P(ScaleRectReference, RandomBoxesOnRandomImages) {
    std::mt19937 random(113);
    const auto pick = [&random](int extent) {
        return static_cast<int32_t>(random() % extent);
    };
    for (int trial = 0; trial < 120; ++trial) {
        const int width = 2 + pick(90);
        const int height = 2 + pick(40);
        const PixelRect source =
            PixelRect{pick(width), pick(height), pick(width), pick(height)}.normalized();
        const PixelRect destination{pick(3 * width) - width, pick(3 * height) - height,
                                    pick(3 * width) - width, pick(3 * height) - height};
        ExpectSameAsReference(width, height, source, destination, trial % 3 == 0,
                              static_cast<uint32_t>(trial));
        if (HasFatalFailure())
            return;
    }
}

} // namespace
} // namespace halvera::testing
