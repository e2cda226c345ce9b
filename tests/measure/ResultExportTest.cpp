#include "measure/ResultExport.h"

#include "ImageFileTestSupport.h"
#include "measure/ResultDate.h"
#include "measure/ResultRows.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

constexpr MeasureScale kUnit{1.0, 1.0};

std::tm Noon() {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 2;
    time.tm_mday = 4;
    time.tm_wday = 3;
    time.tm_hour = 12;
    return time;
}

const std::string kDate = "12:00 00,  Wednesday, March 04, 2026\n";

MeasureData FiftyPixelLine() {
    MeasureData data;
    EXPECT_TRUE(data.AppendLine({10, 20}, {60, 20}));
    return data;
}

TEST(ResultReportText, FiftyPixelLineWithZeroTolerances) {
    const std::string text =
        ResultReportText(FiftyPixelLine(), kUnit, ToleranceTable{}, OutputSelection(), Noon());
    EXPECT_EQ(text, "\n" + kDate + "\n\n" +
                        "Length = 50.000(50.000Error)\n"
                        "Angle = 0.000(0.000Pass)\n"
                        "Xs = 10.000(10.000Error)\n"
                        "Ys = 20.000(20.000Error)\n"
                        "Xm = 35.000(35.000Error)\n"
                        "Ym = 20.000(20.000Error)\n"
                        "Xe = 60.000(60.000Error)\n"
                        "Ye = 20.000(20.000Error)\n"
                        "DX = 50.000(50.000Error)\n"
                        "DY = 0.000(0.000Pass)\n"
                        "\n");
}

TEST(ResultReportText, EmptySelectionKeepsTheDateAndTheKindsLineFeeds) {
    MeasureData data = FiftyPixelLine();
    data.AppendPoint({1, 2});
    const std::string text =
        ResultReportText(data, kUnit, ToleranceTable{}, OutputSelection::NoItems(), Noon());
    EXPECT_EQ(text, "\n" + kDate + "\n\n\n\n\n");
}

TEST(ResultReportText, KindsInTabOrderItemsInStorageOrderValuesInItemOrder) {
    MeasureData data;
    data.AppendAngle({10, 0}, {0, 0}, {0, -10});
    data.AppendRectangle({0, 0, 10, 40});
    data.AppendPoint({3, 4});
    data.AppendPoint({5, 6});
    OutputSelection selection = OutputSelection::NoItems();
    for (int k : {26, 1, 23, 0}) // picked out of order
        selection.add(k);
    ToleranceTable tolerance;
    tolerance.entries[26] = {270.0, 0.0, 0.0};
    tolerance.entries[1] = {5.0, 1.0, -1.0};
    const std::string text =
        ResultReportText(data, MeasureScale{2.0, 1.0}, tolerance, selection, Noon());
    EXPECT_EQ(text, "\n" + kDate +
                        "\n\nX = 6.000(6.000Error)\nY = 4.000(-1.000Pass)\n"
                        "X = 10.000(10.000Error)\nY = 6.000(1.000Pass)\n"
                        "\n\nCenterY = 20.000(20.000Error)\n"
                        "\n\nAngle = 270.000(0.000Pass)\n"
                        "\n");
}

TEST(ResultRowCells, LabelThenValuesPlainOrJudged) {
    MeasureData data;
    data.AppendPoint({7, 8});
    data.AppendPoint({10, 94});
    ToleranceTable tolerance;
    tolerance.entries[0] = {10.0, 0.5, -0.5};
    tolerance.entries[1] = {10.0, 0.5, -0.5};
    EXPECT_EQ(ResultRowCells(data, MeasureKind::Point, 1, {MeasureScale{1.05, 0.1}, tolerance}),
              (std::vector<std::string>{"(2)", "10.500", "9.400"}));
    EXPECT_EQ(
        ResultRowCells(data, MeasureKind::Point, 1, {MeasureScale{1.05, 0.1}, tolerance, true}),
        (std::vector<std::string>{"(2)", "10.500(0.500Pass)", "9.400(-0.600Error)"}));
    EXPECT_EQ(ResultRowCells(FiftyPixelLine(), MeasureKind::Line, 0, {kUnit, tolerance}).size(),
              11u);
}

// An item is marked on the image only for a value that fails an entry in
// use, and only with error detection on; an entry left all zero marks none.
TEST(ItemJudgedError, OnlyAValueFailingAnEntryInUseMarksTheItem) {
    MeasureData data;
    data.AppendPoint({7, 8});
    data.AppendPoint({10, 94});
    const MeasureScale scale{1.05, 0.1}; // X 7.350 and 10.500, Y 0.800 and 9.400
    ToleranceTable tolerance;
    EXPECT_FALSE(ItemJudgedError(data, MeasureKind::Point, 0, {scale, tolerance, true}))
        << "no entry in use, though every cell says Error";
    tolerance.entries[1] = {9.0, 0.5, -0.5}; // Y
    EXPECT_TRUE(ItemJudgedError(data, MeasureKind::Point, 0, {scale, tolerance, true}));
    EXPECT_FALSE(ItemJudgedError(data, MeasureKind::Point, 1, {scale, tolerance, true}));
    EXPECT_FALSE(ItemJudgedError(data, MeasureKind::Point, 0, {scale, tolerance, false}));
    // The limits are those of the cells: 9.400 is 0.400 above 9.0, within +0.5.
    EXPECT_EQ(ResultRowCells(data, MeasureKind::Point, 1, {scale, tolerance, true})[2],
              "9.400(0.400Pass)");
    tolerance.entries[1].upper = 0.3;
    EXPECT_TRUE(ItemJudgedError(data, MeasureKind::Point, 1, {scale, tolerance, true}));

    // A line is judged by the entries of its own data items (Length is item 2).
    const MeasureData line = FiftyPixelLine();
    tolerance.entries[2] = {50.0, 0.01, -0.01};
    EXPECT_FALSE(ItemJudgedError(line, MeasureKind::Line, 0, {kUnit, tolerance, true}));
    tolerance.entries[2].standard = 49.0;
    EXPECT_TRUE(ItemJudgedError(line, MeasureKind::Line, 0, {kUnit, tolerance, true}));
}

TEST(ResultCsvText, HeaderOfSelectedItemsAndOneRowPerItem) {
    MeasureData data = FiftyPixelLine();
    data.AppendPoint({3, 4});
    data.AppendCircle({0, 0}, {3, 4});
    OutputSelection selection = OutputSelection::NoItems();
    for (int k : {14, 2, 0})
        selection.add(k);
    ToleranceTable tolerance;
    tolerance.entries[14] = {5.0, 0.01, -0.01};
    const MeasuredOn slide{"slide 1.png", {}};
    EXPECT_EQ(ResultCsvText(data, slide, tolerance, selection),
              "Image,Unit,XScale,YScale,Calibration,Kind,No,X(Point),X(Point) judgement,"
              "Length(Line),Length(Line) judgement,Radius(Circle),Radius(Circle) judgement\n"
              "slide 1.png,um,1.000000,1.000000,,Point,1,3.000,Error,,,,\n"
              "slide 1.png,um,1.000000,1.000000,,Line,1,,,50.000,Error,,\n"
              "slide 1.png,um,1.000000,1.000000,,Circle,1,,,,,5.000,Pass\n");
}

TEST(ResultCsvText, EveryRowNamesThePictureAndTheCalibrationItWasMeasuredWith) {
    MeasureData data = FiftyPixelLine();
    OutputSelection lengthOnly = OutputSelection::NoItems();
    lengthOnly.add(2);
    // 20 mm over 100 pixels across, 30 mm over 100 pixels down; the names
    // hold a comma and a quote, which a spreadsheet must not split on.
    const MeasuredOn on{"a,b.png", {{1, 20.0, 30.0, 100, 100}, "10x \"oil\", dry"}};
    const std::string csv = ResultCsvText(data, on, ToleranceTable{}, lengthOnly);
    EXPECT_EQ(csv, "Image,Unit,XScale,YScale,Calibration,Kind,No,Length(Line),"
                   "Length(Line) judgement\n"
                   "\"a,b.png\",mm,0.200000,0.300000,\"10x \"\"oil\"\", dry\",Line,1,10.000,"
                   "Error\n");
}

TEST(MeasuredOnPicture, TheFileNameAndTheCalibrationInForce) {
    AppSettings settings;
    settings.RulerUnit = 2;
    settings.xRealRulerData = 5.0;
    settings.RulerPreset = "4x";
    const MeasuredOn on = MeasuredOnPicture("/data/run 7/cell.tif", settings);
    EXPECT_EQ(on.image, "cell.tif");
    EXPECT_EQ(on.calibration, (NamedCalibration{{2, 5.0, 100.0, 100, 100}, "4x"}));
    EXPECT_EQ(on.scale(), (MeasureScale{0.05, 1.0}));
    EXPECT_EQ(MeasuredOnPicture("", settings).image, "");
}

TEST(HasOutputData, AnyItemOfTheFiveKinds) {
    MeasureData data;
    EXPECT_FALSE(HasOutputData(data));
    data.AppendRectangle({0, 0, 0, 5});
    EXPECT_TRUE(HasOutputData(data));
}

TEST(WriteResultFile, ReplacesALongerFileWhole) {
    testing::TemporaryFolder folder;
    const std::string path = folder.file("Result.Txt");
    testing::WriteFileBytes(path, testing::Bytes(4000, 'x'));
    ASSERT_TRUE(WriteResultFile(path, "\nshort\n"));
    const testing::Bytes bytes = testing::ReadFileBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "\nshort\n");
    EXPECT_FALSE(WriteResultFile(folder.file("no/such/folder.Txt"), "x"));
}

} // namespace
} // namespace halvera
