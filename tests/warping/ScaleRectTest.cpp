#include "warping/ScaleRect.h"

#include "WarpTestImages.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace halvera::testing {
namespace {

bool Scale(WarpBuffersFixture& f, PixelRect source, PixelRect destination) {
    return ScaleRect(f.image.dib(), f.working.dib(), f.mask.dib(), f.savedMask.dib(), source,
                     destination);
}

// Four samples whose blends need the truncations and the final rounding:
// blue falls 9 -> 0 along the top and stays 1 along the next row, green
// rises 0 -> 5 and 10 -> 15, red is 7 everywhere.
Bgr FourSamples(int x, int y) {
    static const uint8_t blue[2][2] = {{9, 0}, {1, 1}};
    static const uint8_t green[2][2] = {{0, 5}, {10, 15}};
    if (x > 1 || y > 1)
        return Bgr{0, 0, 7};
    return Bgr{blue[y][x], green[y][x], 7};
}

TEST(ScaleRect, DoublingBlendsWithTruncationsAndOneFinalRounding) {
    WarpBuffersFixture f(6, 4, FourSamples);
    // 3 x 2 source pixels onto 6 x 4: every destination step is half a pixel.
    ASSERT_TRUE(Scale(f, {0, 0, 2, 1}, {0, 0, 5, 3}));
    const CDibImage image = f.image.dib();
    EXPECT_EQ(PixelAt(image, 0, 0), (Bgr{9, 0, 7}));
    // (0.5, 0): blue 9 + trunc(-4.5) = 5, green 0 + trunc(2.5) = 2.
    EXPECT_EQ(PixelAt(image, 1, 0), (Bgr{5, 2, 7}));
    // (0, 0.5): blue 9 + trunc(-8 * 0.5 + 0.5) = 6, green 0 + trunc(10 * 0.5 + 0.5) = 5.
    EXPECT_EQ(PixelAt(image, 0, 1), (Bgr{6, 5, 7}));
    // (0.5, 0.5): blue rows 5 and 1 give 5 + trunc(-1.5) = 4; green rows 2 and
    // 12 give 2 + trunc(5.5) = 7.
    EXPECT_EQ(PixelAt(image, 1, 1), (Bgr{4, 7, 7}));
}

TEST(ScaleRect, WritesNeitherTheLastColumnNorTheLastRow) {
    WarpBuffersFixture f(6, 4, Pattern);
    ASSERT_TRUE(Scale(f, {0, 0, 5, 3}, {0, 0, 5, 3}));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool written = x <= 4 && y <= 2;
            EXPECT_EQ(PixelAt(f.image.dib(), x, y), written ? Pattern(x, y) : kMarker)
                << x << "," << y;
        }
}

TEST(ScaleRect, AFrameDraggedPastItsOppositeEdgeMirrors) {
    WarpBuffersFixture f(6, 3, Pattern);
    // Right edge left of the left edge: mirrored left to right.
    ASSERT_TRUE(Scale(f, {0, 0, 4, 1}, {4, 0, 0, 1}));
    for (int y = 0; y <= 1; ++y)
        for (int x = 0; x <= 4; ++x)
            EXPECT_EQ(PixelAt(f.image.dib(), x, y), Pattern(4 - x, y)) << x << "," << y;

    // Bottom above the top: mirrored top to bottom.
    ASSERT_TRUE(Scale(f, {0, 0, 4, 1}, {0, 1, 4, 0}));
    for (int y = 0; y <= 1; ++y)
        for (int x = 0; x <= 4; ++x)
            EXPECT_EQ(PixelAt(f.image.dib(), x, y), Pattern(x, 1 - y)) << x << "," << y;
}

TEST(ScaleRect, CutsTheDestinationTo10240PixelsEachWay) {
    const auto gradient = [](int x, int y) {
        return Bgr{uint8_t(5 * x), uint8_t(5 * y), uint8_t(x + y)};
    };
    WarpBuffersFixture oversized(48, 48, gradient);
    WarpBuffersFixture exact(48, 48, gradient);
    // 40 source pixels onto more than 10240: cut to 10240, one source pixel per
    // 256 destination pixels, so destination (0, 0) at offset 2560 samples (10, 10).
    ASSERT_TRUE(Scale(oversized, {0, 0, 39, 39}, {-2560, -2560, 20000, 30000}));
    ASSERT_TRUE(Scale(exact, {0, 0, 39, 39}, {-2560, -2560, -2560 + 10239, -2560 + 10239}));
    EXPECT_EQ(PixelAt(oversized.image.dib(), 0, 0), gradient(10, 10));
    EXPECT_TRUE(SamePixels(oversized.image.dib(), exact.image.dib()));
}

TEST(ScaleRect, WithARegionCarriesOnlySelectedPixelsAndMovesTheMask) {
    WarpBuffersFixture f(8, 6, Pattern);
    f.Restore();
    // An L of three pixels; its box (1, 1)-(2, 2) also holds one unselected pixel.
    f.Select([](int x, int y) { return (x == 1 || x == 2) && (y == 1 || y == 2) && x + y < 4; });
    ASSERT_TRUE(Scale(f, {1, 1, 2, 2}, {4, 2, 5, 3}));
    const CDibImage image = f.image.dib();
    EXPECT_EQ(PixelAt(image, 4, 2), Pattern(1, 1));
    EXPECT_EQ(PixelAt(image, 5, 2), Pattern(2, 1));
    EXPECT_EQ(PixelAt(image, 4, 3), Pattern(1, 2));
    EXPECT_EQ(PixelAt(image, 5, 3), Pattern(5, 3)); // (2, 2) was not selected
    EXPECT_EQ(PixelAt(image, 1, 1), Pattern(1, 1)); // the old place stays as it was
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool moved = (x == 4 && y == 2) || (x == 5 && y == 2) || (x == 4 && y == 3);
            EXPECT_EQ(ByteAt(f.mask.dib(), x, y), moved ? 255 : 0) << x << "," << y;
        }
}

TEST(ScaleRect, RefusesASourceBoxOutsideTheImageAndTouchesNothing) {
    WarpBuffersFixture f(6, 4, Pattern);
    f.Select([](int x, int) { return x < 2; });
    EXPECT_FALSE(Scale(f, {0, 0, 6, 3}, {0, 0, 5, 3}));
    EXPECT_FALSE(Scale(f, {-1, 0, 3, 3}, {0, 0, 5, 3}));
    EXPECT_FALSE(Scale(f, {3, 0, 2, 3}, {0, 0, 5, 3}));
    EXPECT_EQ(PixelAt(f.image.dib(), 0, 0), kMarker);
    EXPECT_EQ(ByteAt(f.mask.dib(), 0, 0), 255);
}

TEST(ScaleRect, RowsInterpolatedOnceGiveTheBytesOfThePixelByPixelRule) {
    // Without a region the rows across are interpolated once and reused; with
    // every pixel selected each pixel is blended on its own. Both must give
    // the same bytes, for zooms in and out, mirrored, cut at the image edge.
    std::mt19937 random(61);
    const auto noise = [&random](int, int) {
        return Bgr{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                   static_cast<uint8_t>(random())};
    };
    for (int trial = 0; trial < 60; ++trial) {
        const int width = 5 + static_cast<int>(random() % 60);
        const int height = 5 + static_cast<int>(random() % 50);
        WarpBuffersFixture whole(width, height, noise);
        WarpBuffersFixture selected(
            width, height, [&](int x, int y) { return PixelAt(whole.working.dib(), x, y); });
        selected.Select([](int, int) { return true; });
        const auto pick = [&random](int extent) {
            return static_cast<int32_t>(random() % extent);
        };
        const PixelRect source =
            PixelRect{pick(width), pick(height), pick(width), pick(height)}.normalized();
        const PixelRect destination{pick(2 * width) - width / 2, pick(2 * height) - height / 2,
                                    pick(2 * width) - width / 2, pick(2 * height) - height / 2};
        ASSERT_TRUE(Scale(whole, source, destination));
        ASSERT_TRUE(Scale(selected, source, destination));
        const CDibImage a = whole.image.dib(), b = selected.image.dib();
        ASSERT_EQ(0, std::memcmp(a.header, b.header, static_cast<size_t>(a.blockSize)))
            << "trial " << trial << ": " << width << " x " << height;
    }
}

} // namespace
} // namespace halvera::testing
