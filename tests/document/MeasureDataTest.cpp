#include "document/MeasureData.h"

#include "measure/ThreePointCircle.h"

#include <gtest/gtest.h>
#include <vector>

namespace halvera {
namespace {

template <typename T> std::vector<T> Items(std::span<const T> items) {
    return {items.begin(), items.end()};
}

TEST(MeasureData, ARepeatedPointPressStoresOnePoint) {
    MeasureData data;
    EXPECT_TRUE(data.AppendPoint({3, 4}));
    EXPECT_FALSE(data.AppendPoint({3, 4}));
    EXPECT_TRUE(data.AppendPoint({5, 4}));
    EXPECT_TRUE(data.AppendPoint({3, 4})) << "only the last point is compared";
    EXPECT_EQ(data.ItemCount(MeasureKind::Point), 3);
}

TEST(MeasureData, DegenerateAndDuplicateShapesAreRefused) {
    MeasureData data;
    EXPECT_FALSE(data.AppendLine({1, 1}, {1, 1}));
    EXPECT_TRUE(data.AppendLine({1, 1}, {5, 1}));
    EXPECT_FALSE(data.AppendLine({1, 1}, {5, 1}));
    EXPECT_TRUE(data.AppendLine({5, 1}, {1, 1})) << "the reverse is another line";
    EXPECT_EQ(data.ItemCount(MeasureKind::Line), 2);
    EXPECT_EQ(data.lines().size(), 4u);

    EXPECT_FALSE(data.AppendCircle({2, 2}, {2, 2}));
    EXPECT_TRUE(data.AppendCircle({2, 2}, {2, 9}));
    EXPECT_FALSE(data.AppendCircle({2, 2}, {2, 9}));
    EXPECT_EQ(data.ItemCount(MeasureKind::Circle), 1);

    EXPECT_FALSE(data.AppendAngle({1, 1}, {1, 1}, {4, 4}));
    EXPECT_FALSE(data.AppendAngle({1, 1}, {4, 4}, {4, 4}));
    EXPECT_TRUE(data.AppendAngle({1, 1}, {4, 4}, {1, 1})) << "A equal to B is an angle";
    EXPECT_FALSE(data.AppendAngle({1, 1}, {4, 4}, {1, 1}));
    EXPECT_EQ(data.ItemCount(MeasureKind::Angle), 1);
}

TEST(MeasureData, RectanglesAreNormalisedAndOnlyASinglePointIsDegenerate) {
    MeasureData data;
    EXPECT_FALSE(data.AppendRectangle({7, 7, 7, 7}));
    EXPECT_TRUE(data.AppendRectangle({30, 40, 10, 20}));
    EXPECT_EQ(data.rectangles()[0], (PixelRect{10, 20, 30, 40}));
    EXPECT_FALSE(data.AppendRectangle({10, 20, 30, 40})) << "equal after normalising";
    EXPECT_TRUE(data.AppendRectangle({5, 1, 5, 9})) << "zero width, some height";
    EXPECT_TRUE(data.AppendRectangle({1, 5, 9, 5})) << "zero height, some width";
    EXPECT_EQ(data.ItemCount(MeasureKind::Rectangle), 3);
}

TEST(MeasureData, PointPairsNeedTwoDifferentStoredPointsInANewOrder) {
    MeasureData data;
    EXPECT_FALSE(data.AppendPointPair(0, 1)) << "no points yet";
    data.AppendPoint({0, 0});
    data.AppendPoint({10, 0});
    EXPECT_FALSE(data.AppendPointPair(1, 1));
    EXPECT_FALSE(data.AppendPointPair(0, 2));
    EXPECT_FALSE(data.AppendPointPair(-1, 0));
    EXPECT_TRUE(data.AppendPointPair(0, 1));
    EXPECT_FALSE(data.AppendPointPair(0, 1));
    EXPECT_TRUE(data.AppendPointPair(1, 0));
    EXPECT_EQ(data.PointPairCount(), 2);
}

TEST(MeasureData, ArraysGrowByTheirStep) {
    MeasureData data;
    for (int i = 0; i < 33; ++i)
        ASSERT_TRUE(data.AppendLine({0, i}, {1, i}));
    EXPECT_EQ(data.ItemCount(MeasureKind::Line), 33);
    EXPECT_EQ(data.lines()[64], (PixelPoint{0, 32}));

    GrowableArray<int, 32> array;
    const int one[] = {1};
    array.Append(one);
    EXPECT_EQ(array.capacity(), 32u);
    for (int i = 0; i < 32; ++i)
        array.Append(one);
    EXPECT_EQ(array.capacity(), 64u);
}

TEST(MeasureData, DeletingAPointDropsAndRenumbersThePairs) {
    MeasureData data;
    for (int i = 0; i < 4; ++i)
        data.AppendPoint({i * 10, 0});
    data.AppendPointPair(0, 1);
    data.AppendPointPair(2, 3);
    data.AppendPointPair(0, 3);

    ASSERT_TRUE(data.DeleteItem(MeasureKind::Point, 1));
    EXPECT_EQ(Items(data.points()), (std::vector<PixelPoint>{{0, 0}, {20, 0}, {30, 0}}));
    EXPECT_EQ(Items(data.pointPairs()), (std::vector<int32_t>{1, 2, 0, 2}));
}

TEST(MeasureData, DeletingMovesLaterItemsDownAndIgnoresMissingOnes) {
    MeasureData data;
    data.AppendAngle({1, 0}, {0, 0}, {0, 1});
    data.AppendAngle({2, 0}, {0, 0}, {0, 2});
    data.AppendRectangle({0, 0, 1, 1});
    EXPECT_FALSE(data.DeleteItem(MeasureKind::Angle, 2));
    EXPECT_FALSE(data.DeleteItem(MeasureKind::Line, 0));
    EXPECT_FALSE(data.DeleteItem(MeasureKind::Rectangle, -1));

    ASSERT_TRUE(data.DeleteItem(MeasureKind::Angle, 0));
    EXPECT_EQ(Items(data.angles()), (std::vector<PixelPoint>{{2, 0}, {0, 0}, {0, 2}}));
    EXPECT_EQ(data.ItemCount(MeasureKind::Rectangle), 1);

    data.Clear();
    for (int kind = 0; kind < 5; ++kind)
        EXPECT_EQ(data.ItemCount(static_cast<MeasureKind>(kind)), 0);
    EXPECT_EQ(data.PointPairCount(), 0);
}

TEST(MeasureData, SameItemsComparesEveryKindInOrder) {
    MeasureData data;
    MeasureData copy;
    EXPECT_TRUE(data.SameItems(copy));
    ASSERT_TRUE(data.AppendPoint({1, 2}));
    ASSERT_TRUE(data.AppendPoint({3, 4}));
    EXPECT_FALSE(data.SameItems(copy));
    copy = data;
    EXPECT_TRUE(data.SameItems(copy));
    ASSERT_TRUE(data.AppendPointPair(0, 1));
    EXPECT_FALSE(data.SameItems(copy)) << "a new pair alone";
    copy = data;
    data.MoveElement(MeasureKind::Point, 1, {3, 5});
    EXPECT_FALSE(data.SameItems(copy)) << "a point moved in place";
    data.MoveElement(MeasureKind::Point, 1, {3, 4});
    ASSERT_TRUE(data.AppendRectangle({0, 0, 4, 4}));
    EXPECT_FALSE(data.SameItems(copy));
    ASSERT_TRUE(data.DeleteItem(MeasureKind::Rectangle, 0));
    EXPECT_TRUE(data.SameItems(copy));
    ASSERT_TRUE(data.AppendEdgeLine({1.25, 1.5}, {9.75, 1.5}, 0.01));
    copy = data;
    data.ShiftElement(MeasureKind::Line, 0, {0, 0});
    EXPECT_TRUE(data.SameItems(copy)) << "the fit ended, the geometry kept";
    data.MoveElement(MeasureKind::Line, 0, {1, 2});
    EXPECT_FALSE(data.SameItems(copy)) << "an edge end moved to its covering pixel";
}

TEST(MeasureData, ClickedItemsHoldTheirWholePixelsAsSubPixelPointsTooAndNoFit) {
    MeasureData data;
    data.AppendPoint({3, 4});
    data.AppendCircle({2, 2}, {2, 9});
    EXPECT_EQ(Items(data.subPixel(MeasureKind::Point)), (std::vector<SubPixelPoint>{{3.0, 4.0}}));
    EXPECT_EQ(Items(data.subPixel(MeasureKind::Circle)),
              (std::vector<SubPixelPoint>{{2.0, 2.0}, {2.0, 9.0}}));
    EXPECT_EQ(data.edgeFit(MeasureKind::Circle, 0), EdgeFit{});
    EXPECT_TRUE(data.subPixel(MeasureKind::Rectangle).empty());
    EXPECT_EQ(data.edgeFit(MeasureKind::Point, 5), EdgeFit{}) << "no such item";
}

TEST(MeasureData, EdgeItemsKeepTheirPositionsTheCoveringPixelsAndTheirFit) {
    MeasureData data;
    ASSERT_TRUE(data.AppendEdgeLine({10.25, 20.5}, {40.75, 19.49}, 0.03));
    EXPECT_FALSE(data.AppendEdgeLine({10.25, 20.5}, {40.75, 19.49}, 0.01)) << "a duplicate";
    EXPECT_FALSE(data.AppendEdgeLine({1.5, 1.5}, {1.5, 1.5}, 0.0)) << "one point";
    EXPECT_TRUE(data.AppendLine({10, 21}, {41, 19})) << "the covering pixels are another line";
    EXPECT_EQ(Items(data.lines()),
              (std::vector<PixelPoint>{{10, 21}, {41, 19}, {10, 21}, {41, 19}}));
    EXPECT_EQ(data.edgeFit(MeasureKind::Line, 0), (EdgeFit{true, 0.03}));
    EXPECT_EQ(data.edgeFit(MeasureKind::Line, 1), EdgeFit{});

    ASSERT_TRUE(data.AppendEdgePoint({-0.5, 2.25}));
    EXPECT_FALSE(data.AppendEdgePoint({-0.5, 2.25})) << "repeats the last point";
    EXPECT_EQ(data.points()[0], (PixelPoint{0, 2})) << "a half goes up, as pixel 0 covers it";
    ASSERT_TRUE(data.AppendEdgeAngle({1.5, 0.0}, {0.0, 0.0}, {0.0, -1.5}));
    ASSERT_TRUE(data.AppendEdgeCircle({5.5, 5.5}, {8.0, 5.5}, 0.02));
    EXPECT_TRUE(data.edgeFit(MeasureKind::Angle, 0).measured);
    EXPECT_EQ(data.edgeFit(MeasureKind::Circle, 0).residual, 0.02);
}

TEST(MeasureData, AdjustingMovesWholePixelsShiftsKeepFractionsAndBothEndTheFit) {
    MeasureData data;
    ASSERT_TRUE(data.AppendEdgeLine({10.25, 20.5}, {40.75, 20.5}, 0.03));
    data.ShiftElement(MeasureKind::Line, 0, {2, -1});
    EXPECT_EQ(data.subPixel(MeasureKind::Line)[0], (SubPixelPoint{12.25, 19.5}));
    EXPECT_EQ(data.lines()[0], (PixelPoint{12, 20}));
    EXPECT_FALSE(data.edgeFit(MeasureKind::Line, 0).measured);
    data.MoveElement(MeasureKind::Line, 1, {50, 20});
    EXPECT_EQ(data.subPixel(MeasureKind::Line)[1], (SubPixelPoint{50.0, 20.0}));
    EXPECT_EQ(data.lines()[1], (PixelPoint{50, 20}));

    ASSERT_TRUE(data.AppendPoint({1, 1}));
    data.MovePointToEdge(0, {3.25, 4.75});
    EXPECT_EQ(data.points()[0], (PixelPoint{3, 5}));
    EXPECT_EQ(data.edgeFit(MeasureKind::Point, 0), (EdgeFit{true, 0.0}));
}

TEST(MeasureData, DeletingKeepsEachItemWithItsSubPixelPointsAndFit) {
    MeasureData data;
    ASSERT_TRUE(data.AppendEdgeCircle({1.5, 1.5}, {4.0, 1.5}, 0.01));
    ASSERT_TRUE(data.AppendCircle({9, 9}, {9, 12}));
    ASSERT_TRUE(data.AppendEdgeCircle({20.25, 1.5}, {22.0, 1.5}, 0.04));
    ASSERT_TRUE(data.DeleteItem(MeasureKind::Circle, 1));
    EXPECT_EQ(Items(data.subPixel(MeasureKind::Circle)),
              (std::vector<SubPixelPoint>{{1.5, 1.5}, {4.0, 1.5}, {20.25, 1.5}, {22.0, 1.5}}));
    EXPECT_EQ(data.edgeFit(MeasureKind::Circle, 1).residual, 0.04);
    data.Clear();
    EXPECT_TRUE(data.subPixel(MeasureKind::Circle).empty());
    EXPECT_TRUE(data.AppendEdgeCircle({1.5, 1.5}, {4.0, 1.5}, 0.01)) << "nothing left to repeat";
}

TEST(ThreePointCircle, RightAngleClicksFitTheirCircumcircle) {
    const auto circle = FitThreePointCircle({0, 0}, {10, 0}, {0, 10});
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->centre, (PixelPoint{5, 5}));
    EXPECT_EQ(circle->onCircle, (PixelPoint{0, 0}));
}

TEST(ThreePointCircle, CollinearOrRepeatedClicksFitNothing) {
    EXPECT_FALSE(FitThreePointCircle({0, 0}, {5, 5}, {10, 10}));
    EXPECT_FALSE(FitThreePointCircle({0, 0}, {0, 0}, {10, 3}));
    EXPECT_FALSE(FitThreePointCircle({4, 4}, {4, 4}, {4, 4}));
}

TEST(ThreePointCircle, CentreIsTruncatedTowardZero) {
    // Circumcentre of (-1, 0), (0, -2), (0, 0) is (-0.5, -1): x truncates to 0.
    const auto circle = FitThreePointCircle({-1, 0}, {0, -2}, {0, 0});
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->centre, (PixelPoint{0, -1}));
    // (0, 0), (7, 0), (0, 3): centre (3.5, 1.5).
    EXPECT_EQ(FitThreePointCircle({0, 0}, {7, 0}, {0, 3})->centre, (PixelPoint{3, 1}));
}

TEST(ThreePointCircle, ACentreBeyondPixelRangeFitsNothing) {
    // Nearly collinear points far apart put the centre far outside int range.
    EXPECT_FALSE(FitThreePointCircle({-2000000000, 0}, {0, 1}, {2000000000, 0}));
}

} // namespace
} // namespace halvera
