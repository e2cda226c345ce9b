#include "warping/WarpQuad.h"

#include "WarpTestImages.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

bool Warp(WarpBuffersFixture& f, const QuadCorners& source, const QuadCorners& destination) {
    return WarpQuad(f.image.dib(), f.working.dib(), f.mask.dib(), f.savedMask.dib(), source,
                    destination);
}

TEST(RegionBoxCorners, RunAlongTheOutsideOfTheRightAndBottomPixels) {
    const QuadCorners corners = RegionBoxCorners(PixelRect{2, 3, 7, 9});
    EXPECT_EQ(corners[kTopRight], (PixelPoint{8, 3}));
    EXPECT_EQ(corners[kTopLeft], (PixelPoint{2, 3}));
    EXPECT_EQ(corners[kBottomLeft], (PixelPoint{2, 10}));
    EXPECT_EQ(corners[kBottomRight], (PixelPoint{8, 10}));
}

TEST(WarpQuad, TheIdentityQuadReproducesTheImageWithinTheBilinearLimits) {
    WarpBuffersFixture f(16, 12, Pattern);
    const QuadCorners whole = RegionBoxCorners(PixelRect{0, 0, 15, 11});
    ASSERT_TRUE(Warp(f, whole, whole));
    // A sample needs its right and lower neighbour: the last column and row
    // are not written.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(PixelAt(f.image.dib(), x, y), x < 15 && y < 11 ? Pattern(x, y) : kMarker)
                << x << "," << y;
}

// Column 0 of the source is blue 100 and row 0 green 100, everything else 0,
// so a sample taken left of column 0 or above row 0 with a negative fraction
// would show a value no source pixel has.
Bgr Edges(int x, int y) {
    return Bgr{uint8_t(x == 0 ? 100 : 0), uint8_t(y == 0 ? 100 : 0), 0};
}

// The source square (0, 0)-(8, 8) onto the parallelogram (1, 0), (9, 0),
// (8, 8), (0, 8): its left edge x = 1 - y / 8 crosses row 5 at 0.375, which
// rounds the span out to pixel 0, whose position lies just outside the source.
TEST(WarpQuad, PositionsBetweenMinusOneAndZeroAreOutsideTheSource) {
    const QuadCorners square = RegionBoxCorners(PixelRect{0, 0, 7, 7});
    {
        WarpBuffersFixture f(10, 10, Edges); // u = x - 1 + y / 8, v = y
        ASSERT_TRUE(Warp(f, square, QuadCorners{{{9, 0}, {1, 0}, {0, 8}, {8, 8}}}));
        for (int y = 5; y <= 7; ++y)
            EXPECT_EQ(PixelAt(f.image.dib(), 0, y), kMarker) << y;
        // (1, 5) samples u = 0.625: blue 100 + trunc(0.625 * -100) = 38.
        EXPECT_EQ(PixelAt(f.image.dib(), 1, 5), (Bgr{38, 0, 0}));
    }
    {
        WarpBuffersFixture f(10, 10, Edges); // u = y, v = x - 1 + y / 8
        ASSERT_TRUE(Warp(f, square, QuadCorners{{{0, 8}, {1, 0}, {9, 0}, {8, 8}}}));
        for (int y = 5; y <= 7; ++y)
            EXPECT_EQ(PixelAt(f.image.dib(), 0, y), kMarker) << y;
        // (1, 5) samples v = 0.625: green 100 + trunc(-100 * 0.625 + 0.5) = 38.
        EXPECT_EQ(PixelAt(f.image.dib(), 1, 5), (Bgr{0, 38, 0}));
    }
}

TEST(WarpQuad, WithARegionCarriesOnlySelectedPixelsAndMovesTheMask) {
    WarpBuffersFixture f(12, 10, Pattern);
    f.Restore();
    // An L of three pixels in the box (2, 2)-(3, 3), moved by (5, 3).
    f.Select([](int x, int y) { return x >= 2 && y >= 2 && x + y < 6; });
    const QuadCorners source = RegionBoxCorners(PixelRect{2, 2, 3, 3});
    ASSERT_TRUE(Warp(f, source, RegionBoxCorners(PixelRect{7, 5, 8, 6})));
    const CDibImage image = f.image.dib();
    EXPECT_EQ(PixelAt(image, 7, 5), Pattern(2, 2));
    EXPECT_EQ(PixelAt(image, 8, 5), Pattern(3, 2));
    EXPECT_EQ(PixelAt(image, 7, 6), Pattern(2, 3));
    EXPECT_EQ(PixelAt(image, 8, 6), Pattern(8, 6)); // (3, 3) was not selected
    EXPECT_EQ(PixelAt(image, 2, 2), Pattern(2, 2)); // the old place stays visible
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool moved = x >= 7 && y >= 5 && x + y < 14;
            EXPECT_EQ(ByteAt(f.mask.dib(), x, y), moved ? 255 : 0) << x << "," << y;
        }
}

TEST(WarpQuad, ADegenerateQuadChangesNothing) {
    const QuadCorners source = RegionBoxCorners(PixelRect{0, 0, 7, 7});
    const QuadCorners degenerate[] = {
        {{{9, 3}, {0, 3}, {2, 3}, {5, 3}}}, // no edge that is not horizontal
        {{{4, 0}, {4, 2}, {4, 6}, {4, 9}}}, // all on one vertical line: no mapping
        {{{5, 5}, {5, 5}, {5, 5}, {5, 5}}}, // all on one point
    };
    for (const QuadCorners& destination : degenerate) {
        WarpBuffersFixture f(10, 10, Pattern);
        f.Select([](int x, int y) { return x < 4 && y < 4; });
        ASSERT_TRUE(Warp(f, source, destination));
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                ASSERT_EQ(PixelAt(f.image.dib(), x, y), kMarker) << x << "," << y;
                ASSERT_EQ(ByteAt(f.mask.dib(), x, y), x < 4 && y < 4 ? 255 : 0);
            }
    }
}

int LargestChannelDifference(Bgr a, Bgr b) {
    return std::max(
        {std::abs(a.blue - b.blue), std::abs(a.green - b.green), std::abs(a.red - b.red)});
}

TEST(WarpQuad, RotatingByAnAngleAndBackReturnsCloseToTheStart) {
    const auto smooth = [](int x, int y) {
        return Bgr{uint8_t(60 + x), uint8_t(60 + y), uint8_t(100 + (x - y) / 2)};
    };
    const QuadCorners frame = RegionBoxCorners(PixelRect{0, 0, 63, 63});
    for (const double degrees : {20.0, 33.0, 137.0}) {
        WarpBuffersFixture there(64, 64, smooth);
        there.Restore();
        ASSERT_TRUE(Warp(there, frame, RotatedCorners(frame, 32, 32, degrees)));

        // The rotated image becomes the starting point of the way back.
        WarpBuffersFixture back(64, 64,
                                [&](int x, int y) { return PixelAt(there.image.dib(), x, y); });
        back.Restore();
        ASSERT_TRUE(Warp(back, frame, RotatedCorners(frame, 32, 32, -degrees)));

        int turned = 0;
        int returned = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                if ((x - 32) * (x - 32) + (y - 32) * (y - 32) > 20 * 20)
                    continue; // the corners turned out of the image are lost
                turned = std::max(turned, LargestChannelDifference(PixelAt(there.image.dib(), x, y),
                                                                   smooth(x, y)));
                returned = std::max(returned, LargestChannelDifference(
                                                  PixelAt(back.image.dib(), x, y), smooth(x, y)));
            }
        EXPECT_GE(turned, 5) << degrees;
        EXPECT_LE(returned, 2) << degrees;
    }
}

} // namespace
} // namespace halvera::testing
