#include "ProcessingTestSupport.h"
#include "processing/EdgeDirectional.h"
#include "processing/EdgeKirsch.h"
#include "processing/EdgeLaplace.h"
#include "processing/EdgePrewitt.h"
#include "processing/EdgeRoberts.h"
#include "processing/EdgeSobel.h"

#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Grey;
using testing::PixelAt;

using Levels = std::map<std::pair<int, int>, int>;

// Runs `operation` on a 7 x 7 black image with one pixel of `level` at (3, 3)
// and checks every pixel: those listed have the given grey level, all others 0.
void ExpectAroundSinglePixel(const testing::ImageOperation& operation, uint8_t level,
                             const Levels& expected) {
    const DibBlock source = testing::SinglePixel(7, 7, 3, 3, level);
    const DibBlock result = testing::RunOn(operation, source.dib());
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) {
            const auto found = expected.find({x, y});
            const int want = found == expected.end() ? 0 : found->second;
            EXPECT_EQ(PixelAt(result.dib(), x, y), Grey(uint8_t(want))) << "at " << x << "," << y;
        }
}

testing::ImageOperation Roberts(EdgeNorm norm = EdgeNorm::SumOfAbsolutes) {
    return [norm](const CDibImage& d, const CDibImage& s, const CDibImage& m) {
        return EdgeRoberts(d, s, m, norm);
    };
}
testing::ImageOperation Sobel(EdgeNorm norm = EdgeNorm::SumOfAbsolutes) {
    return [norm](const CDibImage& d, const CDibImage& s, const CDibImage& m) {
        return EdgeSobel(d, s, m, norm);
    };
}
testing::ImageOperation Prewitt(EdgeNorm norm = EdgeNorm::SumOfAbsolutes) {
    return [norm](const CDibImage& d, const CDibImage& s, const CDibImage& m) {
        return EdgePrewitt(d, s, m, norm);
    };
}
testing::ImageOperation Directional(Kernel3x3 kernel) {
    return [kernel](const CDibImage& d, const CDibImage& s, const CDibImage& m) {
        return EdgeDirectional(d, s, m, kernel);
    };
}
bool Laplace(const CDibImage& d, const CDibImage& s, const CDibImage& m) {
    return EdgeLaplace(d, s, m);
}
bool Kirsch(const CDibImage& d, const CDibImage& s, const CDibImage& m) {
    return EdgeKirsch(d, s, m);
}

TEST(EdgeLaplace, IsZeroOnTheBrightPixelAndFullOnItsSideNeighbours) {
    ExpectAroundSinglePixel(Laplace, 255,
                            {{{3, 2}, 255}, {{2, 3}, 255}, {{4, 3}, 255}, {{3, 4}, 255}});
}

TEST(EdgeLaplace, ClampsNegativeResponsesToZeroAndReplicatesTheBorder) {
    // (0, 0): N and W are the pixel itself, so 2 C + S + E - 4 C < 0.
    const DibBlock source = testing::SinglePixel(3, 3, 0, 0, 100);
    const DibBlock result = testing::RunOn(Laplace, source.dib());
    EXPECT_EQ(PixelAt(result.dib(), 0, 0), Grey(0));
    EXPECT_EQ(PixelAt(result.dib(), 1, 0), Grey(100));
    EXPECT_EQ(PixelAt(result.dib(), 1, 1), Grey(0));
}

TEST(EdgeKirsch, IsFullOnAllEightNeighboursOfABrightPixel) {
    Levels ring;
    for (int y = 2; y <= 4; ++y)
        for (int x = 2; x <= 4; ++x)
            if (x != 3 || y != 3)
                ring[{x, y}] = 255;
    ExpectAroundSinglePixel(Kirsch, 255, ring);
}

TEST(EdgeKirsch, TakesTheLargestOfTheEightCompassSums) {
    // Ring NW 12, N 8, NE 4, W 2, the rest 0 (ring sum 26): the best run of
    // three is NW-N-NE = 24, so 5 * 24 - 3 * 2 = 114; the centre weighs 0.
    const uint8_t levels[3][3] = {{12, 8, 4}, {2, 200, 0}, {0, 0, 0}};
    const DibBlock source =
        testing::MakeRgb(3, 3, [&](int x, int y) { return Grey(levels[y][x]); });
    const DibBlock result = testing::RunOn(Kirsch, source.dib());
    EXPECT_EQ(PixelAt(result.dib(), 1, 1), Grey(114));
}

TEST(EdgeRoberts, AddsTheTwoDiagonalDifferences) {
    ExpectAroundSinglePixel(Roberts(), 100,
                            {{{3, 3}, 100}, {{2, 2}, 100}, {{3, 2}, 100}, {{2, 3}, 100}});
    // C 10, E 0, S 50, SE 200: |10 - 200| + |50 - 0| = 240.
    const DibBlock source = testing::MakeRgb(2, 2, [](int x, int y) {
        const uint8_t levels[2][2] = {{10, 0}, {50, 200}};
        return Grey(levels[y][x]);
    });
    EXPECT_EQ(PixelAt(testing::RunOn(Roberts(), source.dib()).dib(), 0, 0), Grey(240));
    // Last column: E and SE are the pixel and its S: |C - S| + |S - C|.
    EXPECT_EQ(PixelAt(testing::RunOn(Roberts(), source.dib()).dib(), 1, 0), Grey(255));
}

TEST(EdgeSobel, WeighsTheNearNeighboursTwice) {
    ExpectAroundSinglePixel(Sobel(), 100,
                            {{{3, 2}, 200},
                             {{3, 4}, 200},
                             {{2, 3}, 200},
                             {{4, 3}, 200},
                             {{2, 2}, 200},
                             {{4, 2}, 200},
                             {{2, 4}, 200},
                             {{4, 4}, 200}});
}

TEST(EdgePrewitt, WeighsAllNeighboursOnce) {
    ExpectAroundSinglePixel(Prewitt(), 100,
                            {{{3, 2}, 100},
                             {{3, 4}, 100},
                             {{2, 3}, 100},
                             {{4, 3}, 100},
                             {{2, 2}, 200},
                             {{4, 2}, 200},
                             {{2, 4}, 200},
                             {{4, 4}, 200}});
}

TEST(EdgeNorm, TheRootOfSquaresNormRoundsDown) {
    // Diagonal neighbours see Gx = Gy = 100 (Sobel): sqrt(20000) = 141.4.
    ExpectAroundSinglePixel(Sobel(EdgeNorm::RootOfSquares), 100,
                            {{{3, 2}, 200},
                             {{3, 4}, 200},
                             {{2, 3}, 200},
                             {{4, 3}, 200},
                             {{2, 2}, 141},
                             {{4, 2}, 141},
                             {{2, 4}, 141},
                             {{4, 4}, 141}});
    ExpectAroundSinglePixel(Prewitt(EdgeNorm::RootOfSquares), 255,
                            {{{3, 2}, 255},
                             {{3, 4}, 255},
                             {{2, 3}, 255},
                             {{4, 3}, 255},
                             {{2, 2}, 255},
                             {{4, 2}, 255},
                             {{2, 4}, 255},
                             {{4, 4}, 255}});
    ExpectAroundSinglePixel(Roberts(EdgeNorm::RootOfSquares), 30,
                            {{{3, 3}, 30}, {{2, 2}, 30}, {{3, 2}, 30}, {{2, 3}, 30}});
    const DibBlock source = testing::SinglePixel(3, 3, 1, 1, 9);
    DibBlock image = testing::CopyOf(source.dib());
    EXPECT_FALSE(EdgeSobel(image.dib(), source.dib(), CDibImage{}, static_cast<EdgeNorm>(3)));
}

TEST(EdgeDirectional, EachKernelSeesOnlyItsOwnDirection) {
    ExpectAroundSinglePixel(Directional(kHorizontalEdgeKernel), 100,
                            {{{3, 2}, 100}, {{3, 4}, 100}});
    ExpectAroundSinglePixel(Directional(kVerticalEdgeKernel), 100, {{{2, 3}, 100}, {{4, 3}, 100}});
    ExpectAroundSinglePixel(Directional(kUpRightEdgeKernel), 100, {{{4, 2}, 100}, {{2, 4}, 100}});
    ExpectAroundSinglePixel(Directional(kDownLeftEdgeKernel), 100, {{{2, 2}, 100}, {{4, 4}, 100}});
}

TEST(EdgeDirectional, TakesTheMagnitudeAndClampsIt) {
    ExpectAroundSinglePixel(Directional(Kernel3x3{{0, 0, 0, 0, 2, 0, 0, 0, 0}}), 200,
                            {{{3, 3}, 255}});
    ExpectAroundSinglePixel(Directional(Kernel3x3{{0, 0, 0, 0, -1, 0, 0, 0, 0}}), 200,
                            {{{3, 3}, 200}});
}

TEST(EdgeDetection, AUniformImageGivesBlack) {
    const DibBlock source = testing::MakeUniformRgb(5, 4, Bgr{3, 140, 255});
    for (const testing::ImageOperation& op :
         {Roberts(), Sobel(), Prewitt(), testing::ImageOperation(Laplace),
          testing::ImageOperation(Kirsch), Directional(kHorizontalEdgeKernel),
          Directional(kVerticalEdgeKernel), Directional(kUpRightEdgeKernel),
          Directional(kDownLeftEdgeKernel)}) {
        const DibBlock result = testing::RunOn(op, source.dib());
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(PixelAt(result.dib(), x, y), Grey(0));
    }
}

} // namespace
} // namespace halvera
