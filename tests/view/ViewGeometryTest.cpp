#include "view/ViewGeometry.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

ViewPlacement Placement(double zoom, ViewSize client, ViewSize total, PixelPoint scroll = {}) {
    return {zoom, client, total, scroll};
}

TEST(ZoomTable, RunsFromSixteenDownToOneHundredthWithOneAtIndexTen) {
    EXPECT_DOUBLE_EQ(ZoomFactor(0), 16.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(kZoomIndex100), 1.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(11), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(17), 1.0 / 12.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(kZoomCount - 1), 0.01);
    for (int index = 1; index < kZoomCount; ++index)
        EXPECT_LT(ZoomFactor(index), ZoomFactor(index - 1)) << "index " << index;
}

TEST(ZoomTable, ScaledSidesRoundToNearestAndMustFitTheWindowSystem) {
    EXPECT_EQ(ScaledLength(100, 2.0 / 3.0), 67);
    EXPECT_EQ(ScaledLength(3, 0.5), 2); // 1.5 rounds up
    EXPECT_EQ(ScaledSize({2048, 8}, 12.0), (ViewSize{24576, 96}));
    EXPECT_TRUE(ScaledSizeAllowed({32767, 1}));
    EXPECT_FALSE(ScaledSizeAllowed({32768, 10}));
    EXPECT_FALSE(ScaledSizeAllowed({10, 0}));
    EXPECT_FALSE(ScaledSizeAllowed(ScaledSize({40, 40}, 0.01))); // 0.4 rounds to 0
}

TEST(ViewPlacement, CentresTheImageOnlyOnAxesWhereItFits) {
    EXPECT_EQ(Placement(1, {401, 300}, {200, 100}).CentringOffset(), (PixelPoint{100, 100}));
    EXPECT_EQ(Placement(1, {400, 300}, {500, 300}).CentringOffset(), (PixelPoint{0, 0}));
    EXPECT_EQ(Placement(1, {400, 300}, {500, 100}).CentringOffset(), (PixelPoint{0, 100}));
    EXPECT_EQ(Placement(1, {400, 300}, {500, 100}).MaxScroll(), (PixelPoint{100, 0}));
}

TEST(ViewPlacement, WindowToImageAddsScrollRemovesOffsetDividesAndTruncates) {
    // 200 %, scrolled.
    EXPECT_EQ(Placement(2, {300, 200}, {2000, 1600}, {30, 10}).WindowToImage({20, 21}),
              (PixelPoint{25, 15}));
    // 300 %: 5 / 3 truncates to 1.
    EXPECT_EQ(Placement(3, {300, 200}, {3000, 3000}).WindowToImage({5, 8}), (PixelPoint{1, 2}));
    // 50 % of a 200 x 100 image centred in 400 x 300: offset (150, 125).
    const ViewPlacement half = Placement(0.5, {400, 300}, {100, 50});
    EXPECT_EQ(half.WindowToImage({151, 126}), (PixelPoint{2, 2}));
    EXPECT_EQ(half.WindowToImage({148, 125}), (PixelPoint{-4, 0}));
    // Truncation goes toward zero: less than one image pixel left of the
    // image still converts to column 0.
    EXPECT_EQ(Placement(4, {400, 400}, {40, 40}).WindowToImage({179, 181}), (PixelPoint{0, 0}));
}

TEST(ViewPlacement, ImageToWindowScalesTruncatesAndAddsOffset) {
    EXPECT_EQ(Placement(2.0 / 3.0, {300, 200}, {2000, 2000}).ImageToWindow({10, 4}),
              (PixelPoint{6, 2}));
    EXPECT_EQ(Placement(1, {400, 300}, {200, 100}).ImageToWindow({0, 99}), (PixelPoint{100, 199}));
    // Scrolling does not enter: the result is a logical point.
    EXPECT_EQ(Placement(2, {300, 200}, {2000, 2000}, {500, 40}).ImageToWindow({7, 7}),
              (PixelPoint{14, 14}));
}

TEST(ViewPlacement, ImageBoxCoversEveryWindowPixelOfItsPixels) {
    const ViewPlacement triple = Placement(3, {300, 200}, {3000, 3000});
    EXPECT_EQ(triple.ImageBoxToWindow({2, 3, 4, 5}), (PixelRect{6, 9, 14, 17}));
    const ViewPlacement centred = Placement(2, {400, 300}, {200, 100});
    EXPECT_EQ(centred.ImageBoxToWindow({0, 0, 0, 0}), (PixelRect{100, 100, 101, 101}));
    EXPECT_EQ(Placement(0.5, {300, 200}, {1000, 1000}).ImageLengthToWindow(5), 3);
}

TEST(PaintRects, AFittingImageIsDrawnWholeAtTheCentringOffset) {
    const PaintRects rects = Placement(1, {400, 300}, {200, 100}).ComputePaintRects({200, 100});
    EXPECT_EQ(rects.source, (ViewRect{0, 0, 200, 100}));
    EXPECT_EQ(rects.destination, (ViewRect{100, 100, 200, 100}));
}

TEST(PaintRects, AScrolledAxisDrawsOnlyTheVisibleSpanPlusTwoPixels) {
    const ViewPlacement where = Placement(2, {300, 200}, {2000, 1600}, {101, 51});
    const PaintRects rects = where.ComputePaintRects({1000, 800});
    EXPECT_EQ(rects.source, (ViewRect{50, 25, 152, 102}));
    EXPECT_EQ(rects.destination, (ViewRect{100, 50, 304, 204}));
    EXPECT_EQ(where.DisplayedImageRect({1000, 800}), (ViewRect{-1, -1, 304, 204}));
}

TEST(PaintRects, TheSpanIsCutAtTheImageEdge) {
    const ViewPlacement where = Placement(2, {300, 200}, {2000, 1600}, {1700, 1400});
    const PaintRects rects = where.ComputePaintRects({1000, 800});
    EXPECT_EQ(rects.source, (ViewRect{850, 700, 150, 100}));
    EXPECT_EQ(rects.destination, (ViewRect{1700, 1400, 300, 200}));
}

TEST(PaintRects, AxesAreIndependent) {
    const ViewPlacement where = Placement(1, {300, 200}, {1000, 100}, {400, 0});
    const PaintRects rects = where.ComputePaintRects({1000, 100});
    EXPECT_EQ(rects.source, (ViewRect{400, 0, 302, 100}));
    EXPECT_EQ(rects.destination, (ViewRect{400, 50, 302, 100}));
}

TEST(AutoScroll, FollowsAPointDraggedPastTheEdges) {
    const ViewPlacement where = Placement(1, {300, 200}, {2000, 1600}, {100, 100});
    EXPECT_EQ(where.AutoScrollPosition({-20, 250}), (PixelPoint{80, 150}));
    EXPECT_EQ(where.AutoScrollPosition({150, 100}), (PixelPoint{100, 100}));
    EXPECT_EQ(where.AutoScrollPosition({-150, -170}), (PixelPoint{0, 0}));
    // Past the right edge but also past the scroll total: unchanged.
    EXPECT_EQ(where.AutoScrollPosition({2100, 50}), (PixelPoint{100, 100}));
}

TEST(ZoomScrollPosition, PutsTheClickedImagePointInTheMiddle) {
    const ViewPlacement before = Placement(1, {300, 200}, {1000, 800}, {100, 50});
    const ViewPlacement after = Placement(2, {300, 200}, {2000, 1600}, {100, 50});
    // Click (150, 100) is image point (250, 150), which lands at 500, 300 logical.
    EXPECT_EQ(ZoomScrollPosition(before, after, {150, 100}), (PixelPoint{350, 200}));
}

TEST(ZoomScrollPosition, MeasuresFromTheImageOfACentredPicture) {
    // 200 x 100 centred in 300 x 200 (offset 50, 50); click on image point (100, 50).
    const ViewPlacement before = Placement(1, {300, 200}, {200, 100});
    const ViewPlacement after = Placement(2, {300, 200}, {400, 200});
    const PixelPoint position = ZoomScrollPosition(before, after, {150, 100});
    EXPECT_EQ(position.x, 50); // image x 100 is 200 logical, centred at client 150
    EXPECT_EQ(position.y, 0);  // the new image still fits vertically: unchanged
}

TEST(ZoomScrollPosition, KeepsThePositionWhereTheResultWouldBeNegative) {
    const ViewPlacement before = Placement(1, {300, 200}, {1000, 800});
    const ViewPlacement after = Placement(2, {300, 200}, {2000, 1600}, {7, 9});
    EXPECT_EQ(ZoomScrollPosition(before, after, {10, 10}), (PixelPoint{7, 9}));
}

} // namespace
} // namespace halvera
