#include "ProcessingTestSupport.h"
#include "processing/Convolve3x3Mean.h"
#include "processing/FilterAverage.h"
#include "processing/FilterLowPass.h"
#include "processing/FilterMedian.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <random>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Grey;
using testing::PixelAt;

bool LowPass(const CDibImage& d, const CDibImage& s, const CDibImage& m) {
    return FilterLowPass(d, s, m);
}
bool Median(const CDibImage& d, const CDibImage& s, const CDibImage& m) {
    return FilterMedian(d, s, m);
}
testing::ImageOperation Average(int windowSize) {
    return [windowSize](const CDibImage& d, const CDibImage& s, const CDibImage& m) {
        return FilterAverage(d, s, m, windowSize);
    };
}
testing::ImageOperation Convolve(Kernel3x3 kernel) {
    return [kernel](const CDibImage& d, const CDibImage& s, const CDibImage& m) {
        return Convolve3x3Mean(d, s, m, kernel);
    };
}

uint8_t Level(const DibBlock& image, int x, int y) {
    return PixelAt(image.dib(), x, y).red;
}

TEST(FilterLowPass, SpreadsASingleBrightPixelByTheKernelWeights) {
    const DibBlock source = testing::SinglePixel(7, 7, 3, 3, 255);
    const DibBlock result = testing::RunOn(LowPass, source.dib());
    EXPECT_EQ(PixelAt(result.dib(), 3, 3), Grey(51)); // 5 * 255 / 25
    EXPECT_EQ(Level(result, 3, 2), 30);               // 3 * 255 / 25
    EXPECT_EQ(Level(result, 2, 3), 30);
    EXPECT_EQ(Level(result, 4, 3), 30);
    EXPECT_EQ(Level(result, 3, 4), 30);
    EXPECT_EQ(Level(result, 2, 2), 20); // 2 * 255 / 25
    EXPECT_EQ(Level(result, 4, 4), 20);
    EXPECT_EQ(Level(result, 1, 3), 0);
}

TEST(FilterLowPass, ReplicatesTheBorder) {
    // At the corner the pixel stands in for NW, N and W: (2 + 3 + 3 + 5) * 255 / 25.
    const DibBlock source = testing::SinglePixel(4, 3, 0, 0, 255);
    const DibBlock result = testing::RunOn(LowPass, source.dib());
    EXPECT_EQ(Level(result, 0, 0), 132);
    EXPECT_EQ(Level(result, 1, 0), 51); // the pixel is its NW and W: (2 + 3) * 255 / 25
}

TEST(Convolve3x3Mean, CentresAZeroSumKernelOnGreyAndClampsInsteadOfWrapping) {
    // D = 8, bias 128.
    const Kernel3x3 laplacian{{0, 1, 0, 1, -4, 1, 0, 1, 0}};
    const DibBlock source = testing::SinglePixel(5, 5, 2, 2, 255);
    const DibBlock result = testing::RunOn(Convolve(laplacian), source.dib());
    EXPECT_EQ(Level(result, 2, 2), 1);   // 128 + (-1020 / 8 = -127)
    EXPECT_EQ(Level(result, 2, 1), 159); // 128 + 255 / 8
    EXPECT_EQ(Level(result, 0, 0), 128);

    // D = 1, bias 256: 256 - p would be 256 for black, stored as 255, not 0.
    const Kernel3x3 negate{{0, 0, 0, 0, -1, 0, 0, 0, 0}};
    const DibBlock negated = testing::RunOn(Convolve(negate), source.dib());
    EXPECT_EQ(Level(negated, 0, 0), 255);
    EXPECT_EQ(Level(negated, 2, 2), 1);

    const DibBlock nothing = testing::RunOn(Convolve(Kernel3x3{}), source.dib());
    EXPECT_EQ(PixelAt(nothing.dib(), 2, 2), Grey(128));
}

TEST(Convolve3x3Mean, RefusesWeightsBeyondTheRange) {
    const DibBlock source = testing::SinglePixel(3, 3, 1, 1, 255);
    DibBlock image = testing::CopyOf(source.dib());
    EXPECT_FALSE(Convolve3x3Mean(image.dib(), source.dib(), CDibImage{},
                                 Kernel3x3{{256, 0, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST(FilterMedian, ReturnsTheSixthSmallestOfNineLevels) {
    // Levels 10..90 scattered over a 3 x 3 image; the centre's window is all nine.
    const uint8_t levels[3][3] = {{70, 20, 90}, {40, 10, 60}, {80, 30, 50}};
    const DibBlock source =
        testing::MakeRgb(3, 3, [&](int x, int y) { return Grey(levels[y][x]); });
    const DibBlock result = testing::RunOn(Median, source.dib());
    EXPECT_EQ(PixelAt(result.dib(), 1, 1), Grey(60));
}

TEST(FilterMedian, CopiesTheFirstMatchingPixelInColumnOrder) {
    // Every pixel but the black NW has grey level 100; the first of them in
    // the order NW, W, SW, N, ... is W, not N as a row order would give.
    const Bgr west{0, 170, 0};   // 59 * 170 / 100 = 100
    const Bgr north{0, 68, 200}; // (6000 + 4012) / 100 = 100
    const DibBlock source = testing::MakeRgb(3, 3, [&](int x, int y) {
        if (x == 0 && y == 0)
            return Grey(0);
        if (x == 0 && y == 1)
            return west;
        if (x == 1 && y == 0)
            return north;
        return Grey(100);
    });
    const DibBlock result = testing::RunOn(Median, source.dib());
    EXPECT_EQ(PixelAt(result.dib(), 1, 1), west);
}

TEST(FilterMedian, OutputsWholeInputPixelsNeverAChannelMix) {
    const Bgr colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    const DibBlock source =
        testing::MakeRgb(5, 4, [&](int x, int y) { return colours[(x + 2 * y) % 3]; });
    const DibBlock result = testing::RunOn(Median, source.dib());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const Bgr p = PixelAt(result.dib(), x, y);
            EXPECT_TRUE(p == colours[0] || p == colours[1] || p == colours[2]) << x << "," << y;
        }
    // Centre (2, 1): three each of blue 28, red 76 and green 150; position 5
    // of the sorted levels is red.
    EXPECT_EQ(PixelAt(result.dib(), 2, 1), colours[2]);
}

// The median as plainly stated: sort the nine levels of the window (column
// order, replicate border), take position 5, copy the first pixel having it.
Bgr PlainMedian(const CDibImage& source, int x, int y) {
    const int width = source.width(), height = source.height;
    std::array<Bgr, 9> pixels{};
    std::array<int, 9> levels{};
    int k = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy, ++k) {
            pixels[k] = PixelAt(source, std::clamp(x + dx, 0, width - 1),
                                std::clamp(y + dy, 0, height - 1));
            levels[k] = (30 * pixels[k].red + 59 * pixels[k].green + 11 * pixels[k].blue) / 100;
        }
    std::array<int, 9> sorted = levels;
    std::sort(sorted.begin(), sorted.end());
    return pixels[std::find(levels.begin(), levels.end(), sorted[5]) - levels.begin()];
}

TEST(FilterMedian, MatchesThePlainDefinitionOnNoiseWithAndWithoutTies) {
    std::mt19937 random(11);
    // Few distinct levels give many ties, where the first match in column
    // order decides; full-range noise exercises every comparison.
    for (const int levels : {3, 256}) {
        for (const auto& [width, height] : {std::pair{17, 13}, std::pair{1, 5}, std::pair{6, 1}}) {
            const DibBlock source = testing::MakeRgb(width, height, [&](int, int) {
                auto level = [&] {
                    return uint8_t(random() % levels * (255 / (levels - 1)));
                };
                return Bgr{level(), level(), level()};
            });
            const DibBlock result = testing::RunOn(Median, source.dib());
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(PixelAt(result.dib(), x, y), PlainMedian(source.dib(), x, y))
                        << levels << " levels, " << width << " x " << height << " at " << x << ","
                        << y;
        }
    }
}

TEST(FilterAverage, ShrinksTheWindowAtTheBordersInsteadOfReplicating) {
    const DibBlock source = testing::SinglePixel(7, 7, 0, 0, 255);
    const DibBlock result = testing::RunOn(Average(4), source.dib());
    EXPECT_EQ(Level(result, 0, 0), 28); // 255 / 9 (corner: 3 x 3)
    EXPECT_EQ(Level(result, 0, 2), 17); // 255 / 15 (edge: 3 x 5)
    EXPECT_EQ(Level(result, 1, 0), 21); // 255 / 12 (4 x 3)
    EXPECT_EQ(Level(result, 2, 2), 10); // 255 / 25
    EXPECT_EQ(Level(result, 3, 0), 0);  // outside the window
}

TEST(FilterAverage, MakesTheWindowOddAndAtMostFifteenWide) {
    const DibBlock source = testing::SinglePixel(20, 1, 0, 0, 255);
    // 2 -> 3 wide: pixel 1 averages pixels 0..2.
    EXPECT_EQ(Level(testing::RunOn(Average(2), source.dib()), 1, 0), 85);
    EXPECT_EQ(Level(testing::RunOn(Average(2), source.dib()), 2, 0), 0);
    // 40 -> 15 wide: pixel 7 still sees pixel 0 (15 pixels), pixel 8 does not.
    const DibBlock wide = testing::RunOn(Average(40), source.dib());
    EXPECT_EQ(Level(wide, 7, 0), 17);
    EXPECT_EQ(Level(wide, 8, 0), 0);
    // 1: each pixel alone.
    EXPECT_TRUE(testing::SamePixels(testing::RunOn(Average(1), source.dib()).dib(), source.dib()));
}

TEST(FilterAverage, MatchesAPlainWindowSumOnNoise) {
    std::mt19937 random(7);
    const DibBlock source = testing::MakeRgb(23, 17, [&](int, int) {
        return Bgr{uint8_t(random()), uint8_t(random()), uint8_t(random())};
    });
    for (int size : {3, 5, 15}) {
        const DibBlock result = testing::RunOn(Average(size), source.dib());
        const int r = size / 2;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 23; ++x) {
                int sum[3] = {0, 0, 0}, count = 0;
                for (int v = y - r; v <= y + r; ++v)
                    for (int u = x - r; u <= x + r; ++u)
                        if (u >= 0 && u < 23 && v >= 0 && v < 17) {
                            const Bgr p = PixelAt(source.dib(), u, v);
                            sum[0] += p.blue, sum[1] += p.green, sum[2] += p.red, ++count;
                        }
                const Bgr expected{uint8_t(sum[0] / count), uint8_t(sum[1] / count),
                                   uint8_t(sum[2] / count)};
                ASSERT_EQ(PixelAt(result.dib(), x, y), expected) << size << " at " << x << "," << y;
            }
    }
}

TEST(FilterAverage, RefusesAWindowBelowOne) {
    const DibBlock source = testing::SinglePixel(3, 3, 1, 1, 255);
    DibBlock image = testing::CopyOf(source.dib());
    EXPECT_FALSE(FilterAverage(image.dib(), source.dib(), CDibImage{}, 0));
    EXPECT_FALSE(FilterAverage(image.dib(), source.dib(), CDibImage{}, -4));
}

TEST(Smoothing, LeavesAUniformImageUnchanged) {
    const DibBlock source = testing::MakeUniformRgb(6, 5, Bgr{12, 200, 99});
    for (const testing::ImageOperation& op :
         {testing::ImageOperation(LowPass), testing::ImageOperation(Median), Average(4)})
        EXPECT_TRUE(testing::SamePixels(testing::RunOn(op, source.dib()).dib(), source.dib()));
}

} // namespace
} // namespace halvera
