#include "warping/WarpCellBilinear.h"

#include "WarpTestImages.h"

#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

bool Cell(WarpBuffersFixture& f, PixelRect cell, const QuadCorners& source) {
    return WarpCellBilinear(f.image.dib(), f.working.dib(), f.mask.dib(), cell, source);
}

// The corners of `cell` in the order top-right, top-left, bottom-left, bottom-right.
QuadCorners CornersOf(PixelRect cell, int shiftX = 0, int shiftY = 0) {
    return QuadCorners{{{cell.right + shiftX, cell.top + shiftY},
                        {cell.left + shiftX, cell.top + shiftY},
                        {cell.left + shiftX, cell.bottom + shiftY},
                        {cell.right + shiftX, cell.bottom + shiftY}}};
}

TEST(WarpCellBilinear, SourcePointsOnTheCellsCornersReproduceItExactly) {
    WarpBuffersFixture f(12, 10, Pattern);
    const PixelRect cell{2, 1, 9, 7};
    ASSERT_TRUE(Cell(f, cell, CornersOf(cell)));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x <= 9 && y >= 1 && y <= 7;
            EXPECT_EQ(PixelAt(f.image.dib(), x, y), inside ? Pattern(x, y) : kMarker)
                << x << "," << y;
        }
}

TEST(WarpCellBilinear, ShiftedSourcePointsTranslateTheContent) {
    WarpBuffersFixture f(12, 10, Pattern);
    const PixelRect cell{2, 1, 8, 6};
    ASSERT_TRUE(Cell(f, cell, CornersOf(cell, 2, -1)));
    for (int y = 1; y <= 6; ++y)
        for (int x = 2; x <= 8; ++x)
            EXPECT_EQ(PixelAt(f.image.dib(), x, y), Pattern(x + 2, y - 1)) << x << "," << y;
}

TEST(WarpCellBilinear, BlendsTheFourSourcePointsBilinearly) {
    // Blue = 10x and green = 10y, so a sample shows its source position.
    WarpBuffersFixture f(8, 8, [](int x, int y) {
        return Bgr{uint8_t(10 * x), uint8_t(10 * y), 0};
    });
    // Only the bottom-right source point is pulled in, from (4, 4) to (2, 2):
    // the centre of the cell samples (0,0) + (2,0) + (0,2) + (-2,-2) / 4 = (1.5, 1.5).
    ASSERT_TRUE(Cell(f, {0, 0, 4, 4}, QuadCorners{{{4, 0}, {0, 0}, {0, 4}, {2, 2}}}));
    EXPECT_EQ(PixelAt(f.image.dib(), 2, 2), (Bgr{15, 15, 0}));
    EXPECT_EQ(PixelAt(f.image.dib(), 4, 0), (Bgr{40, 0, 0})); // a corner samples its own point
    EXPECT_EQ(PixelAt(f.image.dib(), 4, 4), (Bgr{20, 20, 0}));
}

TEST(WarpCellBilinear, PositionsBetweenMinusOneAndZeroAreOutsideTheSource) {
    WarpBuffersFixture f(8, 6, [](int x, int) { return Bgr{uint8_t(x == 0 ? 100 : 0), 0, 0}; });
    // The left source points sit one pixel left of the image: columns 1..3 of
    // the cell sample u = -1 + x / 4, which truncates to 0 but lies outside.
    ASSERT_TRUE(Cell(f, {0, 0, 4, 2}, QuadCorners{{{0, 0}, {-1, 0}, {-1, 2}, {0, 2}}}));
    for (int x = 0; x <= 3; ++x)
        EXPECT_EQ(PixelAt(f.image.dib(), x, 1), kMarker) << x;
    EXPECT_EQ(PixelAt(f.image.dib(), 4, 1), (Bgr{100, 0, 0})); // u = 0 is inside
}

TEST(WarpCellBilinear, HonoursTheRegionAndLeavesTheMaskAlone) {
    WarpBuffersFixture f(10, 10, Pattern);
    f.Select([](int x, int) { return x >= 4; });
    const PixelRect cell{1, 1, 7, 7};
    ASSERT_TRUE(Cell(f, cell, CornersOf(cell)));
    EXPECT_EQ(PixelAt(f.image.dib(), 3, 3), kMarker);
    EXPECT_EQ(PixelAt(f.image.dib(), 4, 3), Pattern(4, 3));
    EXPECT_EQ(ByteAt(f.mask.dib(), 3, 3), 0);
    EXPECT_EQ(ByteAt(f.mask.dib(), 4, 3), 255);
}

TEST(WarpCellBilinear, ACellWithoutWidthOrHeightChangesNothing) {
    WarpBuffersFixture f(10, 10, Pattern);
    EXPECT_TRUE(Cell(f, {3, 1, 3, 7}, CornersOf(PixelRect{3, 1, 3, 7})));
    EXPECT_TRUE(Cell(f, {1, 4, 7, 4}, CornersOf(PixelRect{1, 4, 7, 4})));
    EXPECT_TRUE(Cell(f, {7, 1, 1, 7}, CornersOf(PixelRect{1, 1, 7, 7})));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(PixelAt(f.image.dib(), x, y), kMarker);
}

} // namespace
} // namespace halvera::testing
