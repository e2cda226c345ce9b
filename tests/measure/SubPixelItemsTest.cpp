// Items measured on edges carry their sub-pixel geometry into everything
// that shows or hands on values; clicked items keep their whole-pixel values.
#include "measure/MeasureGraph.h"
#include "measure/MeasureLabels.h"
#include "measure/MeasureValues.h"
#include "measure/OutputSelection.h"
#include "measure/ResultExport.h"
#include "measure/ResultRows.h"

#include <cmath>
#include <gtest/gtest.h>

namespace halvera {
namespace {

constexpr MeasureScale kUnit{1.0, 1.0};

const ImageToWindowMap kSame = [](PixelPoint p) {
    return p;
};

// A line 30.5 pixels long whose whole pixels would make it 30 or 31.
MeasureData EdgeLine() {
    MeasureData data;
    EXPECT_TRUE(data.AppendEdgeLine({10.25, 20.5}, {40.75, 20.5}, 0.012));
    return data;
}

TEST(SubPixelItems, ValuesAndLabelsComeFromTheSubPixelEnds) {
    const MeasureData data = EdgeLine();
    EXPECT_EQ(data.lines()[0], (PixelPoint{10, 21})) << "the pixel covering each end";
    EXPECT_EQ(data.lines()[1], (PixelPoint{41, 21}));
    const MeasureRow row = MeasureItemRow(data, MeasureKind::Line, 0, kUnit);
    EXPECT_DOUBLE_EQ(row.values[0], 30.5);
    EXPECT_DOUBLE_EQ(row.values[2], 10.25);
    EXPECT_DOUBLE_EQ(row.values[4], 25.5);

    const std::vector<LabelledItem> labels = MeasureLabels(data, kUnit, kSame);
    ASSERT_EQ(labels.size(), 1u);
    // The text from the sub-pixel length, the place from the covering pixels.
    EXPECT_EQ(labels[0].label, (MeasureLabel{{26, 5}, "(30.500)"}));
}

TEST(SubPixelItems, ResultRowsVerdictsAndExportsUseTheSubPixelValues) {
    const MeasureData data = EdgeLine();
    ToleranceTable tolerance;
    tolerance.entries[2] = {30.5, 0.0, 0.0}; // Length exactly 30.5
    const std::vector<std::string> cells =
        ResultRowCells(data, MeasureKind::Line, 0, {kUnit, tolerance, true});
    ASSERT_GE(cells.size(), 2u);
    EXPECT_EQ(cells[1], "30.500(0.000Pass)");

    OutputSelection lengthOnly = OutputSelection::NoItems();
    lengthOnly.add(2);
    const std::string csv = ResultCsvText(data, MeasuredOn{}, tolerance, lengthOnly);
    EXPECT_NE(csv.find("30.500,Pass"), std::string::npos) << csv;
}

TEST(SubPixelItems, TheGraphLabelsTheSubPixelValues) {
    MeasureData data = EdgeLine();
    ASSERT_TRUE(data.AppendEdgeCircle({30.0, 30.0}, {32.5, 30.0}, 0.02));
    GraphSurface surface(64, 64);
    GraphColours colours;
    colours.text = {255, 0, 0};
    std::vector<std::string> texts; // in the text colour, without the outline's copies
    DrawMeasureGraph(surface, data, kUnit, colours,
                     [&](GraphSurface&, PixelPoint, std::string_view text, GraphColour colour) {
                         if (colour == colours.text)
                             texts.emplace_back(text);
                     });
    // The circle's area is pi * 2.5^2; its whole pixels would give 3.
    EXPECT_EQ(texts, (std::vector<std::string>{"(30.500)", "(19.635)"}));
}

TEST(SubPixelItems, ClickedItemsKeepTheirWholePixelValuesWithoutNegativeZeros) {
    MeasureData data;
    data.AppendLine({10, 20}, {60, 20});
    data.AppendLine({60, 20}, {10, 20});
    data.AppendAngle({10, 0}, {0, 0}, {0, -10});
    const MeasureRow right = MeasureItemRow(data, MeasureKind::Line, 0, kUnit);
    EXPECT_EQ(right.values[1], 0.0);
    EXPECT_FALSE(std::signbit(right.values[1])) << "Angle";
    EXPECT_FALSE(std::signbit(right.values[9])) << "DY";
    const MeasureRow left = MeasureItemRow(data, MeasureKind::Line, 1, kUnit);
    EXPECT_EQ(left.values[1], 180.0);
    const MeasureRow angle = MeasureItemRow(data, MeasureKind::Angle, 0, kUnit);
    EXPECT_EQ(angle.values[0], 90.0);
    EXPECT_EQ(angle.values[1], 0.0);
    EXPECT_FALSE(std::signbit(angle.values[1]));
    EXPECT_EQ(angle.values[2], 270.0);
}

} // namespace
} // namespace halvera
