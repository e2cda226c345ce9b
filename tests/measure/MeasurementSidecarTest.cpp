// The measurement file beside a picture: every kind of item comes back
// exactly, with its sub-pixel elements, its edge fit and the calibration it
// was measured with; a file that is damaged, newer or of an unknown kind is
// refused and left as it was.
#include "measure/MeasurementSidecar.h"

#include "ImageFileTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace halvera {
namespace {

using testing::Bytes;
using testing::ReadFileBytes;
using testing::TemporaryFolder;
using testing::WriteFileBytes;

// One item of every kind, clicked and measured on edges, with coordinates
// that need all seventeen digits of a double.
MeasurementRecord EveryKind() {
    MeasurementRecord record;
    record.image = "cells.png";
    record.calibration = {{2, 0.1 + 0.2, 1.0 / 3.0, 117, 1999}, "10x objective"};
    MeasureData& data = record.items;
    EXPECT_TRUE(data.AppendPoint({12, 7}));
    EXPECT_TRUE(data.AppendEdgePoint({30.123456789012345, 21.000000000000004}));
    EXPECT_TRUE(data.AppendPoint({5, 9}));
    EXPECT_TRUE(data.AppendLine({1, 2}, {40, 2}));
    EXPECT_TRUE(data.AppendEdgeLine({10.25, 20.5}, {40.75, 1.0 / 7.0}, 0.012345678901234567));
    EXPECT_TRUE(data.AppendCircle({50, 50}, {60, 50}));
    EXPECT_TRUE(data.AppendEdgeCircle({20.0 / 3.0, 8.5}, {30.1, 8.5}, 0.25));
    EXPECT_TRUE(data.AppendRectangle({3, 4, 30, 40}));
    EXPECT_TRUE(data.AppendRectangle({30, 40, 31, 40}));
    EXPECT_TRUE(data.AppendAngle({0, 0}, {10, 10}, {20, 0}));
    EXPECT_TRUE(data.AppendEdgeAngle({0.5, 0.25}, {10.125, 10.0625}, {20.03125, -0.5}));
    EXPECT_TRUE(data.AppendPointPair(0, 2));
    EXPECT_TRUE(data.AppendPointPair(2, 1));
    // Moved by hand: the fraction stays, the fit ends.
    data.ShiftElement(MeasureKind::Line, 2, {1, -1});
    return record;
}

void ExpectSameRecord(const MeasurementRecord& read, const MeasurementRecord& written) {
    EXPECT_EQ(read.image, written.image);
    EXPECT_EQ(read.calibration, written.calibration);
    EXPECT_TRUE(read.items.SameItems(written.items));
    for (MeasureKind kind :
         {MeasureKind::Point, MeasureKind::Line, MeasureKind::Circle, MeasureKind::Angle}) {
        ASSERT_EQ(read.items.ItemCount(kind), written.items.ItemCount(kind));
        for (int item = 0; item < written.items.ItemCount(kind); ++item)
            EXPECT_EQ(read.items.edgeFit(kind, item), written.items.edgeFit(kind, item));
        const auto readElements = read.items.subPixel(kind);
        const auto writtenElements = written.items.subPixel(kind);
        ASSERT_EQ(readElements.size(), writtenElements.size());
        for (size_t i = 0; i < readElements.size(); ++i) {
            // Bit for bit: == on doubles.
            EXPECT_EQ(readElements[i].x, writtenElements[i].x);
            EXPECT_EQ(readElements[i].y, writtenElements[i].y);
        }
    }
    EXPECT_TRUE(std::ranges::equal(read.items.rectangles(), written.items.rectangles()));
    EXPECT_TRUE(std::ranges::equal(read.items.pointPairs(), written.items.pointPairs()));
}

TEST(MeasurementSidecar, EveryKindOfItemReadsBackExactly) {
    TemporaryFolder folder;
    const MeasurementRecord written = EveryKind();
    const std::string path = MeasurementSidecarPath(folder.file("cells.png"));
    EXPECT_EQ(path, folder.file("cells.png.measure.json"));
    ASSERT_TRUE(WriteMeasurementSidecar(path, written));

    const MeasurementFileRead read = ReadMeasurementSidecar(path);
    ASSERT_TRUE(read.record) << read.problem;
    ExpectSameRecord(*read.record, written);
    EXPECT_EQ(read.record->items.ItemCount(MeasureKind::Point), 3);
    EXPECT_EQ(read.record->items.PointPairCount(), 2);
    EXPECT_TRUE(read.record->items.edgeFit(MeasureKind::Line, 1).measured == false)
        << "the moved line's fit ended and stays ended";
    EXPECT_TRUE(read.record->items.edgeFit(MeasureKind::Circle, 1).measured);
}

// The header and field names are the documented ones, so that other
// programs can read the file.
TEST(MeasurementSidecar, TheFileIsTheDocumentedJson) {
    const auto json = nlohmann::json::parse(MeasurementSidecarText(EveryKind()));
    EXPECT_EQ(json["format"], "halvera-measurements");
    EXPECT_EQ(json["version"], 1);
    EXPECT_EQ(json["image"], "cells.png");
    EXPECT_EQ(json["calibration"]["preset"], "10x objective");
    EXPECT_EQ(json["calibration"]["unit"], "cm");
    EXPECT_EQ(json["calibration"]["realX"].get<double>(), 0.1 + 0.2);
    EXPECT_EQ(json["calibration"]["pixelY"], 1999);
    const auto& items = json["items"];
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(items[0]["kind"], "point");
    EXPECT_FALSE(items[0].contains("edgeResidual"));
    EXPECT_EQ(items[1]["at"][0][0].get<double>(), 30.123456789012345);
    EXPECT_EQ(items[1]["edgeResidual"].get<double>(), 0.0);
    EXPECT_EQ(items[4]["kind"], "line");
    EXPECT_EQ(items[5]["kind"], "circle");
    EXPECT_EQ(items[6]["edgeResidual"].get<double>(), 0.25);
    EXPECT_EQ(items[7]["kind"], "angle");
    EXPECT_EQ(items[9]["kind"], "rectangle");
    EXPECT_EQ(items[9]["corners"], nlohmann::json({3, 4, 30, 40}));
    EXPECT_EQ(items[11]["kind"], "point-pair");
    EXPECT_EQ(items[12]["points"], nlohmann::json({2, 1}));
}

// Items the adjust tools moved onto each other are kept both, as they were.
TEST(MeasurementSidecar, ItemsMovedOntoEachOtherAreBothKept) {
    MeasurementRecord record;
    ASSERT_TRUE(record.items.AppendLine({1, 1}, {9, 9}));
    ASSERT_TRUE(record.items.AppendLine({2, 2}, {9, 9}));
    record.items.MoveElement(MeasureKind::Line, 2, {1, 1});
    const MeasurementFileRead read = ParseMeasurementSidecar(MeasurementSidecarText(record));
    ASSERT_TRUE(read.record) << read.problem;
    EXPECT_EQ(read.record->items.ItemCount(MeasureKind::Line), 2);
    EXPECT_EQ(read.record->calibration, NamedCalibration{});
}

std::string WithItemsReplaced(const std::string& items) {
    auto json = nlohmann::json::parse(MeasurementSidecarText(EveryKind()));
    json["items"] = nlohmann::json::parse(items);
    return json.dump();
}

TEST(MeasurementSidecar, DamagedNewerOrUnknownFilesAreRefusedAndLeftAsTheyWere) {
    const std::string good = MeasurementSidecarText(EveryKind());
    auto newer = nlohmann::json::parse(good);
    newer["version"] = 2;
    auto otherFormat = nlohmann::json::parse(good);
    otherFormat["format"] = "something-else";
    auto badUnit = nlohmann::json::parse(good);
    badUnit["calibration"]["unit"] = "furlong";
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {good.substr(0, good.size() / 2), "not valid JSON"},
        {newer.dump(), "version 2 is newer than this program reads"},
        {otherFormat.dump(), "not a measurement file"},
        {badUnit.dump(), "unknown unit \"furlong\""},
        {WithItemsReplaced(R"([{"kind": "spiral", "at": [[1, 2]]}])"),
         "unknown kind of item \"spiral\""},
        {WithItemsReplaced(R"([{"kind": "line", "at": [[1, 2]]}])"),
         "a line item has the wrong shape"},
        {WithItemsReplaced(R"([{"kind": "rectangle", "corners": [9, 9, 1, 1]}])"),
         "a rectangle item has the wrong shape"},
        {WithItemsReplaced(R"([{"kind": "point-pair", "points": [0, 1]}])"),
         "a point pair names no stored points"},
        {WithItemsReplaced(R"([{"kind": "point", "at": [[1e300, 2]]}])"), "\"at\" is out of range"},
    };
    TemporaryFolder folder;
    const std::string path = folder.file("x.bmp.measure.json");
    for (const auto& [text, problem] : cases) {
        const Bytes bytes(text.begin(), text.end());
        WriteFileBytes(path, bytes);
        const MeasurementFileRead read = ReadMeasurementSidecar(path);
        EXPECT_FALSE(read.record) << problem;
        EXPECT_EQ(read.problem, problem);
        EXPECT_EQ(ReadFileBytes(path), bytes) << "a refused file is only read";
    }
    EXPECT_EQ(ReadMeasurementSidecar(folder.file("none.json")).problem, "cannot be opened");
}

} // namespace
} // namespace halvera
