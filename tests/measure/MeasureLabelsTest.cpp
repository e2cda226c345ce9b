#include "measure/MeasureLabels.h"

#include "CommaLocale.h"
#include "measure/MeasureNumber.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

PixelPoint Same(PixelPoint p) {
    return p;
}

// A view at zoom 2 with the image 7 pixels right and 3 down.
PixelPoint ZoomTwo(PixelPoint p) {
    return {p.x * 2 + 7, p.y * 2 + 3};
}

TEST(MeasureLabels, PointLabelShowsScaledValuesAtEveryZoom) {
    const MeasureScale scale{2.0, 1.0};
    EXPECT_EQ(PointLabel({3, 4}, scale, Same), (MeasureLabel{{3, -14}, "(6.000, 4.000)"}));
    EXPECT_EQ(PointLabel({3, 4}, scale, ZoomTwo), (MeasureLabel{{13, -7}, "(6.000, 4.000)"}));
}

TEST(MeasureLabels, LineAndPairLabelsSitAboveTheirMiddleTruncatingTowardZero) {
    const MeasureScale unit;
    // Middle of x: 60 + (10 - 60) / 2 = 35; of y: 20 + (21 - 20) / 2 = 20.
    EXPECT_EQ(LineLabel({10, 21}, {60, 20}, unit, Same), (MeasureLabel{{35, 4}, "(50.010)"}));
    // -3 + (0 - -3) / 2 = -2 (1.5 truncates to 1).
    EXPECT_EQ(PointPairLabel({0, 0}, {-3, -4}, unit, Same), (MeasureLabel{{-2, -18}, "(5.000)"}));
}

TEST(MeasureLabels, CircleAndRectangleLabelsShowTheArea) {
    const MeasureScale unit;
    EXPECT_EQ(CircleLabel({5, 5}, {0, 0}, unit, Same), (MeasureLabel{{5, -13}, "(157.080)"}));
    EXPECT_EQ(RectangleLabel({0, 0, 10, 40}, unit, Same), (MeasureLabel{{5, 12}, "(400.000)"}));
    EXPECT_EQ(RectangleLabel({0, 0, 10, 40}, unit, ZoomTwo).position, (PixelPoint{17, 35}));
}

TEST(MeasureLabels, AngleLabelLiesThirtyPixelsAlongTwoThirdsOfTheTurn) {
    // Angle1 90, Angle 270: direction 90 + 180 = 270, straight down on screen.
    const MeasureLabel label = AngleLabel({10, 0}, {0, 0}, {0, -10}, MeasureScale{}, Same);
    EXPECT_EQ(label.text, "(270.000\xC2\xB0)");
    EXPECT_EQ(label.position, (PixelPoint{0, 30}));
    // A right angle opening up-right from the x axis: direction 60 degrees.
    const MeasureLabel right = AngleLabel({0, -10}, {0, 0}, {10, 0}, MeasureScale{}, Same);
    EXPECT_EQ(right.position, (PixelPoint{15, -25})); // trunc(30 cos 60), -trunc(30 sin 60)
}

TEST(MeasureLabels, ListFollowsTheDrawingOrder) {
    MeasureData data;
    data.AppendAngle({10, 0}, {0, 0}, {0, -10});
    data.AppendRectangle({0, 0, 2, 2});
    data.AppendCircle({0, 0}, {1, 0});
    data.AppendLine({0, 0}, {1, 0});
    data.AppendPoint({0, 0});
    data.AppendPoint({3, 4});
    data.AppendPointPair(1, 0);

    const auto labels = MeasureLabels(data, MeasureScale{}, Same);
    ASSERT_EQ(labels.size(), 7u);
    const char* kinds[] = {"pair", "point", "point", "line", "circle", "rectangle", "angle"};
    for (size_t i = 0; i < labels.size(); ++i)
        EXPECT_EQ(LabelledKindName(labels[i].kind), kinds[i]);
    EXPECT_EQ(labels[0].label.text, "(5.000)");
    EXPECT_EQ(labels[2].label.text, "(3.000, 4.000)");
}

TEST(MeasureLabels, TextsKeepTheDecimalPointInACommaLocale) {
    testing::CommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no locale with a decimal comma could be made on this machine";
    EXPECT_EQ(PointLabel({3, 4}, MeasureScale{2.0, 1.0}, Same).text, "(6.000, 4.000)");
    EXPECT_EQ(AngleLabel({10, 0}, {0, 0}, {0, -10}, MeasureScale{}, Same).text,
              "(270.000\xC2\xB0)");
    EXPECT_EQ(FormatDecimals(1.0 / 3.0, 6), "0.333333");
}

} // namespace
} // namespace halvera
