// WarpQuad against a plain pixel-by-pixel rendering of the same warp: however
// the operation organises its loops, every byte of image and mask must come
// out exactly as the straightforward evaluation gives it.
#include "EachInstructionSet.h"
#include "WarpTestImages.h"
#include "image/RowBands.h"
#include "warping/ProjectiveMatrix.h"
#include "warping/WarpQuad.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace halvera::testing {
namespace {

// The crossings of row y with the quadrilateral's non-horizontal edges, an
// edge from y0 to y1 (y0 < y1) crossing rows y0..y1-1.
std::vector<double> Crossings(const QuadCorners& quad, int y) {
    std::vector<double> crossings;
    for (int k = 0; k < 4; ++k) {
        PixelPoint a = quad[k];
        PixelPoint b = quad[(k + 1) % 4];
        if (a.y == b.y)
            continue;
        if (b.y < a.y)
            std::swap(a, b);
        if (a.y <= y && y < b.y)
            crossings.push_back(a.x + static_cast<double>(y - a.y) *
                                          (static_cast<double>(b.x - a.x) / (b.y - a.y)));
    }
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

int EdgeCount(const QuadCorners& quad) {
    int count = 0;
    for (int k = 0; k < 4; ++k)
        count += quad[k].y != quad[(k + 1) % 4].y;
    return count;
}

uint8_t Channel(const CDibImage& image, int x, int y, int c) {
    const Bgr p = PixelAt(image, x, y);
    return c == 0 ? p.blue : c == 1 ? p.green : p.red;
}

// Each pixel of each span, evaluated as written: w, u and v from the matrix,
// the inside test, the mask's nearest neighbour, then the bilinear blend.
void ReferenceWarp(WarpBuffersFixture& f, const QuadCorners& source,
                   const QuadCorners& destination) {
    const CDibImage image = f.image.dib();
    const CDibImage working = f.working.dib();
    const int width = image.width();
    const int height = image.height;
    const std::optional<ProjectiveMatrix> matrix = QuadToQuad(destination, source);
    if (EdgeCount(destination) < 2 || !matrix)
        return;
    const auto& m = matrix->m;
    bool region = false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            region = region || ByteAt(f.savedMask.dib(), x, y) != 0;
    if (region)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetByte(f.mask.dib(), x, y, 0);

    for (int y = 0; y <= height - 2; ++y) {
        const std::vector<double> crossings = Crossings(destination, y);
        for (size_t p = 0; p + 1 < crossings.size(); p += 2) {
            const double left = std::floor(crossings[p] + 0.5);
            const double right = std::floor(crossings[p + 1] + 0.5);
            if (right < 0 || left > width - 1)
                continue;
            for (int x = static_cast<int>(std::max(left, 0.0));
                 x <= static_cast<int>(std::min(right, width - 1.0)); ++x) {
                const double w = m[2][0] * x + m[2][1] * y + m[2][2];
                if (w == 0.0)
                    continue;
                const double u = (m[0][0] * x + m[0][1] * y + m[0][2]) / w;
                const double v = (m[1][0] * x + m[1][1] * y + m[1][2]) / w;
                if (!(u >= 0.0 && v >= 0.0 && u < width - 1 && v < height - 1))
                    continue;
                const int i = static_cast<int>(u);
                const int j = static_cast<int>(v);
                if (region) {
                    const uint8_t selected = ByteAt(f.savedMask.dib(), i, j);
                    SetByte(f.mask.dib(), x, y, selected);
                    if (selected != 255)
                        continue;
                }
                const double dx = u - i;
                const double dy = v - j;
                uint8_t out[3];
                for (int c = 0; c < 3; ++c) {
                    const int p00 = Channel(working, i, j, c);
                    const int p10 = Channel(working, i + 1, j, c);
                    const int p01 = Channel(working, i, j + 1, c);
                    const int p11 = Channel(working, i + 1, j + 1, c);
                    const int top = p00 + static_cast<int>(dx * (p10 - p00));
                    const int bottom = p01 + static_cast<int>(dx * (p11 - p01));
                    out[c] =
                        static_cast<uint8_t>(top + static_cast<int>((bottom - top) * dy + 0.5));
                }
                SetPixel(image, x, y, Bgr{out[0], out[1], out[2]});
            }
        }
    }
}

// Renders `destination` both ways from identical buffers and compares them.
void ExpectSameAsReference(int width, int height, const QuadCorners& source,
                           const QuadCorners& destination, uint32_t seed, bool region) {
    std::mt19937 random(seed);
    std::vector<uint8_t> noise(static_cast<size_t>(width) * height * 3);
    for (uint8_t& value : noise)
        value = static_cast<uint8_t>(random());
    const auto colour = [&](int x, int y) {
        const size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return Bgr{noise[at], noise[at + 1], noise[at + 2]};
    };
    // A selected disc with a few half-selected bytes, which carry no pixels.
    const auto selected = [&](int x, int y) {
        const int dx = x - width / 2, dy = y - height / 3;
        return dx * dx + dy * dy < width * height / 6;
    };
    WarpBuffersFixture fast(width, height, colour);
    WarpBuffersFixture plain(width, height, colour);
    fast.Restore();
    plain.Restore();
    if (region) {
        fast.Select(selected);
        plain.Select(selected);
        for (int x = 0; x < width; x += 5) {
            SetByte(fast.savedMask.dib(), x, height / 3, 128);
            SetByte(plain.savedMask.dib(), x, height / 3, 128);
        }
    }
    ASSERT_TRUE(WarpQuad(fast.image.dib(), fast.working.dib(), fast.mask.dib(),
                         fast.savedMask.dib(), source, destination));
    ReferenceWarp(plain, source, destination);
    ASSERT_TRUE(SamePixels(fast.image.dib(), plain.image.dib()))
        << "seed " << seed << (region ? " with a region" : "");
    ASSERT_TRUE(SamePixels(fast.mask.dib(), plain.mask.dib()))
        << "seed " << seed << (region ? " with a region" : "");
}

PixelRect RandomBox(std::mt19937& random, int width, int height) {
    std::uniform_int_distribution<int> column(0, width - 1), row(0, height - 1);
    const int x0 = column(random), x1 = column(random);
    const int y0 = row(random), y1 = row(random);
    return PixelRect{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

TEST(WarpQuad, MatchesThePlainRenderingOnRandomQuadrilaterals) {
    std::mt19937 random(20261207);
    for (uint32_t round = 0; round < 120; ++round) {
        const int width = 20 + static_cast<int>(random() % 50);
        const int height = 20 + static_cast<int>(random() % 40);
        std::uniform_int_distribution<int> x(-15, width + 15), y(-15, height + 15);
        const QuadCorners source = RegionBoxCorners(RandomBox(random, width, height));
        QuadCorners destination{};
        for (PixelPoint& corner : destination)
            corner = PixelPoint{x(random), y(random)};
        ExpectSameAsReference(width, height, source, destination, round, round % 2 == 1);
    }
}

TEST(WarpQuad, MatchesThePlainRenderingOnTurnedAndShiftedFrames) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> degrees(0.0, 360.0);
    for (uint32_t round = 0; round < 60; ++round) {
        const int width = 30 + static_cast<int>(random() % 60);
        const int height = 30 + static_cast<int>(random() % 60);
        const QuadCorners source = RegionBoxCorners(RandomBox(random, width, height));
        // A turned frame is projective once its corners are truncated; a
        // shifted one is a parallelogram and maps affinely.
        QuadCorners destination =
            RotatedCorners(source, width / 2.0, height / 2.0, degrees(random));
        if (round % 3 == 0) {
            const int dx = static_cast<int>(random() % 21) - 10;
            const int dy = static_cast<int>(random() % 21) - 10;
            for (size_t k = 0; k < 4; ++k)
                destination[k] =
                    PixelPoint{source[k].x + dx + (k == 0 || k == 3 ? 3 : 0), source[k].y + dy};
        }
        ExpectSameAsReference(width, height, source, destination, 1000 + round, round % 2 == 0);
    }
}

TEST(WarpQuad, MatchesThePlainRenderingOnALargeImage) {
    const QuadCorners source = RegionBoxCorners(PixelRect{0, 0, 699, 519});
    ExpectSameAsReference(700, 520, source, RotatedCorners(source, 350, 260, 30.0), 1, false);
    ExpectSameAsReference(700, 520, source,
                          QuadCorners{{{650, 40}, {-30, -20}, {80, 560}, {720, 400}}}, 2, true);
}

// The rows are computed by vector code compiled once per instruction set;
// each one must give the plain rendering's bytes.
class WarpQuadOnEachInstructionSet : public testing::OnEachInstructionSet {};

HALVERA_ON_EACH_INSTRUCTION_SET(WarpQuadOnEachInstructionSet);

QuadCorners RandomCorners(std::mt19937& random, int width, int height, int reach) {
    std::uniform_int_distribution<int> x(-reach, width + reach), y(-reach, height + reach);
    QuadCorners corners{};
    for (PixelPoint& corner : corners)
        corner = PixelPoint{x(random), y(random)};
    return corners;
}

// Random corners in any order: turned, mirrored, folded (edges crossing)
// and degenerate quadrilaterals, on sizes down to a single pixel.
TEST_P(WarpQuadOnEachInstructionSet, MatchesThePlainRenderingOnRandomQuadrilaterals) {
    std::mt19937 random(4242);
    for (uint32_t round = 0; round < 160; ++round) {
        const int width = 1 + static_cast<int>(random() % (round < 40 ? 4 : 45));
        const int height = 1 + static_cast<int>(random() % (round < 40 ? 4 : 35));
        const QuadCorners source = RegionBoxCorners(RandomBox(random, width, height));
        const QuadCorners destination = RandomCorners(random, width, height, 12);
        ExpectSameAsReference(width, height, source, destination, 5000 + round, round % 3 == 1);
    }
}

// Frames that read the whole source up to its last column and its top row,
// on widths whose rows end with 0 to 3 bytes of padding: turned frames map
// projectively, shifted ones affinely, mirrored ones run right to left.
TEST_P(WarpQuadOnEachInstructionSet, MatchesThePlainRenderingUpToTheSourceEdges) {
    std::mt19937 random(99);
    std::uniform_real_distribution<double> degrees(-8.0, 8.0);
    for (int width = 4; width <= 16; ++width) {
        const int height = 9 + width % 5;
        const QuadCorners source = RegionBoxCorners(PixelRect{0, 0, width - 1, height - 1});
        const QuadCorners turned =
            RotatedCorners(source, width / 2.0, height / 2.0, degrees(random));
        QuadCorners shifted{};
        QuadCorners mirrored{};
        for (size_t k = 0; k < 4; ++k) {
            shifted[k] = PixelPoint{source[k].x - 1, source[k].y + (k < 2 ? -1 : 0)};
            mirrored[k] = PixelPoint{width - source[k].x, source[k].y};
        }
        const auto seed = static_cast<uint32_t>(width);
        for (const QuadCorners& destination : {source, turned, shifted, mirrored}) {
            ExpectSameAsReference(width, height, source, destination, seed, false);
            ExpectSameAsReference(width, height, source, destination, seed, true);
        }
    }
}

TEST_P(WarpQuadOnEachInstructionSet, MatchesThePlainRenderingOnTurnedFramesOfALargerImage) {
    const QuadCorners source = RegionBoxCorners(PixelRect{0, 0, 160, 121});
    for (const double degrees : {3.0, 30.0, 91.0, 200.0}) {
        const QuadCorners turned = RotatedCorners(source, 80, 60, degrees);
        ExpectSameAsReference(161, 122, source, turned, 7, false);
        ExpectSameAsReference(161, 122, source, turned, 8, true);
    }
}

// Each pixel is computed on its own, so how the rows are shared out among
// workers cannot show in the result.
TEST(WarpQuad, GivesTheSameBytesWithOneOrSeveralWorkers) {
    const int width = 333, height = 290;
    const QuadCorners source = RegionBoxCorners(PixelRect{0, 0, width - 1, height - 1});
    const QuadCorners destinations[] = {
        RotatedCorners(source, width / 2.0, height / 2.0, 30.0),
        QuadCorners{{{300, 20}, {-10, 0}, {40, 280}, {330, 250}}},
        QuadCorners{{{20, 10}, {310, 5}, {15, 285}, {330, 270}}}, // folded
    };
    std::mt19937 random(3);
    std::vector<uint8_t> noise(size_t{width} * height * 3);
    for (uint8_t& value : noise)
        value = static_cast<uint8_t>(random());
    const auto colour = [&](int x, int y) {
        const size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return Bgr{noise[at], noise[at + 1], noise[at + 2]};
    };
    const auto selected = [](int x, int y) {
        return (x / 7 + y / 5) % 3 != 0;
    };
    for (const QuadCorners& destination : destinations)
        for (const bool region : {false, true}) {
            WarpBuffersFixture one(width, height, colour);
            SetPixelWorkerCount(1);
            if (region)
                one.Select(selected);
            ASSERT_TRUE(WarpQuad(one.image.dib(), one.working.dib(), one.mask.dib(),
                                 one.savedMask.dib(), source, destination));
            for (const int workers : {2, 3}) {
                WarpBuffersFixture several(width, height, colour);
                if (region)
                    several.Select(selected);
                SetPixelWorkerCount(workers);
                ASSERT_TRUE(WarpQuad(several.image.dib(), several.working.dib(), several.mask.dib(),
                                     several.savedMask.dib(), source, destination));
                EXPECT_TRUE(SamePixels(one.image.dib(), several.image.dib()))
                    << workers << " workers" << (region ? " with a region" : "");
                EXPECT_TRUE(SamePixels(one.mask.dib(), several.mask.dib()))
                    << workers << " workers" << (region ? " with a region" : "");
            }
        }
    SetPixelWorkerCount(0);
}

} // namespace
} // namespace halvera::testing
