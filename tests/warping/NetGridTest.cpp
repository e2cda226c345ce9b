#include "warping/NetGrid.h"

#include "WarpTestImages.h"
#include "warping/WarpNetNode.h"

#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

TEST(FitPreview, KeepsTheAspectRatioAndCentresAlongTheSpareSide) {
    EXPECT_EQ(FitPreview(400, 300, 1000, 500), (PreviewRect{0, 50, 400, 200}));
    EXPECT_EQ(FitPreview(400, 300, 500, 1000), (PreviewRect{125, 0, 150, 300}));
    EXPECT_EQ(FitPreview(400, 300, 40, 30), (PreviewRect{0, 0, 400, 300}));
    EXPECT_EQ(FitPreview(400, 300, 0, 30), PreviewRect{});
}

TEST(NetGrid, ANetOf12OnA500PixelPreviewHas40ColumnsNot42) {
    NetGrid grid;
    grid.Build(12, 12, PreviewRect{0, 0, 500, 300});
    EXPECT_EQ(grid.columns(), 40);
    EXPECT_EQ(grid.rows(), 26);
    grid.Build(12, 12, PreviewRect{0, 0, 500, 400});
    EXPECT_EQ(grid.rows(), 30); // 34 capped
}

TEST(NetGrid, TypingFiveBuildsTheGridWith12AndSizesStopAt100) {
    NetGrid grid;
    grid.Build(5, 150, PreviewRect{10, 20, 500, 300});
    EXPECT_EQ(grid.netWidth(), 12);
    EXPECT_EQ(grid.netHeight(), 100);
    EXPECT_EQ(grid.reference({1, 0}), (PixelPoint{22, 20}));
    EXPECT_EQ(grid.reference({0, 1}), (PixelPoint{10, 120}));
    EXPECT_EQ(grid.rows(), 4);
}

TEST(NetGrid, LaysNodesOutFromThePreviewsCornerAndStartsUnmoved) {
    NetGrid grid;
    grid.Build(kDefaultNetSize, kDefaultNetSize, PreviewRect{5, 7, 500, 300});
    ASSERT_EQ(grid.columns(), 14);
    ASSERT_EQ(grid.rows(), 9);
    EXPECT_EQ(grid.reference({13, 8}), (PixelPoint{5 + 13 * 36, 7 + 8 * 36}));
    EXPECT_EQ(grid.moved({13, 8}), grid.reference({13, 8}));
    EXPECT_TRUE(grid.IsInterior({12, 7}));
    EXPECT_FALSE(grid.IsInterior({13, 7}));
    EXPECT_FALSE(grid.IsInterior({3, 0}));
}

TEST(NetGrid, GrabsOnlyInteriorNodesWithinThreePixels) {
    NetGrid grid;
    grid.Build(20, 20, PreviewRect{0, 0, 100, 100}); // 6 x 6 nodes, 20 apart
    EXPECT_EQ(grid.InteriorNodeAt({42, 37}), (NetNode{2, 2}));
    EXPECT_FALSE(grid.InteriorNodeAt({44, 40}).has_value());
    EXPECT_FALSE(grid.InteriorNodeAt({0, 0}).has_value());    // a border node
    EXPECT_FALSE(grid.InteriorNodeAt({100, 60}).has_value()); // a border node

    // Moved nodes are grabbed where they now are; when two crowd together the
    // later one in row-by-row order wins.
    grid.MoveNode({2, 2}, {58, 40});
    EXPECT_EQ(grid.InteriorNodeAt({59, 40}), (NetNode{3, 2}));
    EXPECT_EQ(grid.InteriorNodeAt({56, 40}), (NetNode{2, 2}));
}

TEST(NetGrid, MovesInteriorNodesInsideThePreviewOnly) {
    NetGrid grid;
    grid.Build(20, 20, PreviewRect{0, 0, 100, 100});
    grid.MoveNode({1, 1}, {500, -5});
    EXPECT_EQ(grid.moved({1, 1}), (PixelPoint{99, 0}));
    EXPECT_EQ(grid.reference({1, 1}), (PixelPoint{20, 20}));
    grid.MoveNode({0, 1}, {30, 30});
    EXPECT_EQ(grid.moved({0, 1}), (PixelPoint{0, 20}));
}

// Blue shows a pixel's source column and green its source row.
Bgr Coordinates(int x, int y) {
    return Bgr{uint8_t(x), uint8_t(y), 0};
}

TEST(WarpNetNode, DraggingANodeRightMovesTheContentAroundItRightFadingOut) {
    WarpBuffersFixture f(100, 100, Coordinates);
    NetGrid grid;
    grid.Build(20, 20, FitPreview(200, 100, 100, 100)); // preview (50, 0) 100 x 100
    ASSERT_EQ(grid.preview(), (PreviewRect{50, 0, 100, 100}));
    grid.MoveNode({2, 2}, {50 + 44, 40}); // node (40, 40) dragged 4 to the right
    ASSERT_TRUE(
        WarpNetNode(grid, {2, 2}, f.image.dib(), f.working.dib(), RegionOfInterest(f.mask.dib())));
    const CDibImage image = f.image.dib();
    EXPECT_EQ(PixelAt(image, 40, 40), (Bgr{36, 40, 0})); // content from 4 to the left
    EXPECT_EQ(PixelAt(image, 30, 40), (Bgr{28, 40, 0})); // half-way to the next node
    EXPECT_EQ(PixelAt(image, 40, 50), (Bgr{38, 50, 0}));
    EXPECT_EQ(PixelAt(image, 20, 40), (Bgr{20, 40, 0})); // neighbouring nodes stay
    EXPECT_EQ(PixelAt(image, 60, 40), (Bgr{60, 40, 0}));
    EXPECT_EQ(PixelAt(image, 40, 60), (Bgr{40, 60, 0}));
    // Only the four cells (20..60 both ways) are rendered.
    EXPECT_EQ(PixelAt(image, 19, 40), kMarker);
    EXPECT_EQ(PixelAt(image, 61, 40), kMarker);
    EXPECT_EQ(PixelAt(image, 40, 19), kMarker);
    EXPECT_EQ(PixelAt(image, 40, 61), kMarker);
}

TEST(WarpNetNode, HonoursTheRegion) {
    WarpBuffersFixture f(100, 100, Coordinates);
    f.Select([](int x, int) { return x >= 40; });
    NetGrid grid;
    grid.Build(20, 20, PreviewRect{0, 0, 100, 100});
    grid.MoveNode({2, 2}, {44, 40});
    ASSERT_TRUE(
        WarpNetNode(grid, {2, 2}, f.image.dib(), f.working.dib(), RegionOfInterest(f.mask.dib())));
    EXPECT_EQ(PixelAt(f.image.dib(), 30, 40), kMarker);
    EXPECT_EQ(PixelAt(f.image.dib(), 40, 40), (Bgr{36, 40, 0}));
}

TEST(WarpNetNode, ABorderNodeRendersNothing) {
    WarpBuffersFixture f(100, 100, Coordinates);
    NetGrid grid;
    grid.Build(20, 20, PreviewRect{0, 0, 100, 100});
    EXPECT_TRUE(
        WarpNetNode(grid, {0, 2}, f.image.dib(), f.working.dib(), RegionOfInterest(f.mask.dib())));
    EXPECT_TRUE(
        WarpNetNode(grid, {5, 5}, f.image.dib(), f.working.dib(), RegionOfInterest(f.mask.dib())));
    EXPECT_EQ(PixelAt(f.image.dib(), 0, 40), kMarker);
    EXPECT_EQ(PixelAt(f.image.dib(), 90, 90), kMarker);
}

} // namespace
} // namespace halvera::testing
