#include "measure/MeasureValues.h"

#include "measure/MeasureNumber.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace halvera {
namespace {

constexpr MeasureScale kUnit{1.0, 1.0};

std::string Text(double value) {
    return FormatMeasureValue(value);
}

TEST(MeasureValues, HorizontalLineOfFiftyPixels) {
    const LineValues right = MeasureLine({10, 20}, {60, 20}, kUnit);
    EXPECT_EQ(Text(right.Length), "50.000");
    EXPECT_EQ(Text(right.Angle), "0.000");
    EXPECT_EQ(Text(right.DY), "0.000");
    EXPECT_EQ(Text(right.DX), "50.000");
    EXPECT_EQ(Text(right.Xm), "35.000");

    const LineValues left = MeasureLine({60, 20}, {10, 20}, kUnit);
    EXPECT_EQ(Text(left.Angle), "180.000");
    EXPECT_EQ(Text(left.DX), "-50.000");
    EXPECT_EQ(Text(left.Length), "50.000");
}

TEST(MeasureValues, LineDrawnUpwardsHasNinetyDegreesAndNegativeDY) {
    const LineValues up = MeasureLine({5, 40}, {5, 10}, kUnit);
    EXPECT_EQ(Text(up.Angle), "90.000");
    EXPECT_EQ(Text(up.DY), "-30.000");
    EXPECT_EQ(Text(MeasureLine({5, 10}, {5, 40}, kUnit).Angle), "270.000");
    EXPECT_EQ(Text(MeasureLine({0, 0}, {10, 10}, kUnit).Angle), "315.000");
}

TEST(MeasureValues, LineLengthAndPositionsAreScaledPerAxisButTheAngleIsNot) {
    const LineValues v = MeasureLine({0, 0}, {3, 4}, MeasureScale{2.0, 0.5});
    EXPECT_DOUBLE_EQ(v.Length, std::sqrt(36.0 + 4.0));
    EXPECT_EQ(Text(v.Angle), "306.870");
    EXPECT_DOUBLE_EQ(v.Xe, 6.0);
    EXPECT_DOUBLE_EQ(v.Ye, 2.0);
    EXPECT_DOUBLE_EQ(v.Ym, 1.0);
}

TEST(MeasureValues, RectangleWidthIsTheLongerSide) {
    const RectangleValues v = MeasureRectangle({0, 0, 10, 40}, kUnit);
    EXPECT_EQ(Text(v.Width), "40.000");
    EXPECT_EQ(Text(v.Height), "10.000");
    EXPECT_EQ(Text(v.Area), "400.000");
    EXPECT_EQ(Text(v.Perimeter), "100.000");
    EXPECT_EQ(Text(v.CenterX), "5.000");
    EXPECT_EQ(Text(v.CenterY), "20.000");
}

TEST(MeasureValues, CircleFromCentreAndPointOnIt) {
    const CircleValues v = MeasureCircle({5, 5}, {0, 0}, kUnit);
    EXPECT_EQ(Text(v.Radius), "7.071");
    EXPECT_EQ(Text(v.Diameter), "14.142");
    EXPECT_EQ(Text(v.Area), "157.080");
    EXPECT_EQ(Text(v.Perimeter), "44.429");
    EXPECT_EQ(Text(v.CenterX), "5.000");
}

TEST(MeasureValues, AngleTurnsCounterClockwiseFromTheSecondArmToTheFirst) {
    const AngleValues v = MeasureAngle({10, 0}, {0, 0}, {0, -10}, kUnit);
    EXPECT_EQ(Text(v.Angle1), "90.000");
    EXPECT_EQ(Text(v.Angle2), "0.000");
    EXPECT_EQ(Text(v.Angle), "270.000");

    const AngleValues swapped = MeasureAngle({0, -10}, {0, 0}, {10, 0}, kUnit);
    EXPECT_EQ(Text(swapped.Angle), "90.000");
    EXPECT_EQ(Text(MeasureAngle({-5, 0}, {0, 0}, {5, 0}, kUnit).Angle), "180.000");
}

TEST(MeasureValues, PointAndPairUseTheScale) {
    const PointValues p = MeasurePoint({3, 4}, MeasureScale{2.0, 1.0});
    EXPECT_EQ(Text(p.X), "6.000");
    EXPECT_EQ(Text(p.Y), "4.000");
    EXPECT_EQ(Text(MeasurePointPair({0, 0}, {3, 4}, kUnit)), "5.000");
    EXPECT_EQ(Text(MeasurePointPair({0, 0}, {3, 4}, MeasureScale{2.0, 1.0})), "7.211");
}

TEST(MeasureValues, RowsListTheValuesInColumnOrder) {
    MeasureData data;
    data.AppendLine({0, 0}, {9, 0});
    data.AppendLine({10, 20}, {60, 20});
    const MeasureRow row = MeasureItemRow(data, MeasureKind::Line, 1, kUnit);
    const auto names = MeasureValueNames(MeasureKind::Line);
    ASSERT_EQ(row.count, 10);
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(names[0], "Length");
    EXPECT_EQ(row.values[0], 50.0);
    EXPECT_EQ(names[9], "DY");
    EXPECT_EQ(names[2], "Xs");
    EXPECT_EQ(row.values[2], 10.0);

    const int counts[] = {2, 10, 6, 6, 9};
    for (int kind = 0; kind < 5; ++kind)
        EXPECT_EQ(MeasureValueNames(static_cast<MeasureKind>(kind)).size(),
                  static_cast<size_t>(counts[kind]));

    data.AppendAngle({10, 0}, {0, 0}, {0, -10});
    const MeasureRow angle = MeasureItemRow(data, MeasureKind::Angle, 0, kUnit);
    EXPECT_EQ(angle.count, 9);
    EXPECT_EQ(angle.values[2], 270.0);
    EXPECT_EQ(angle.values[8], -10.0);
}

} // namespace
} // namespace halvera
