// Runs `halvera-cli measure` as a user would and checks what it prints.
#include "CliRunner.h"
#include "ImageFileTestSupport.h"
#include "measure/CalFile.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::CliResult;
using testing::RunCliCapturing;
using testing::RunMeasureCommand;
using testing::TemporaryFolder;

TEST(MeasureCommand, ValuesFollowTheResultsColumnsWithDefaultCalibration) {
    const CliResult result = RunMeasureCommand({"--values", "line:60,20,10,20", "point:3,4", "rect:10,40,0,0",
                                      "circle3:0,0,10,0,0,10", "angle:10,0,0,0,0,-10"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "point X=3.000 Y=4.000\n"
              "line Length=50.000 Angle=180.000 Xs=60.000 Ys=20.000 Xm=35.000 Ym=20.000 "
              "Xe=10.000 Ye=20.000 DX=-50.000 DY=0.000\n"
              "circle CenterX=5.000 CenterY=5.000 Radius=7.071 Diameter=14.142 Area=157.080 "
              "Perimeter=44.429\n"
              "rectangle Width=40.000 Height=10.000 Area=400.000 Perimeter=100.000 "
              "CenterX=5.000 CenterY=20.000\n"
              "angle Angle1=90.000 Angle2=0.000 Angle=270.000 X1=10.000 Y1=0.000 X=0.000 "
              "Y=0.000 X2=0.000 Y2=-10.000\n");
}

TEST(MeasureCommand, RefusedItemsAreSkippedSilently) {
    const CliResult result =
        RunMeasureCommand({"point:1,1", "point:1,1", "line:5,5,5,5", "circle3:0,0,5,5,10,10", "rect:3,3,3,3",
                 "angle:1,1,1,1,4,4", "pair:1,2", "pair:1,1", "--values"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "point X=1.000 Y=1.000\n");
    EXPECT_EQ(result.err, "");
}

TEST(MeasureCommand, LabelsInDrawingOrderWithTheCalibrationGivenBefore) {
    const CliResult result =
        RunMeasureCommand({"--calibration", "0,200,100,100,100", "--labels", "angle:10,0,0,0,0,-10",
                 "point:3,4", "point:6,8", "pair:2,1"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "pair 4 -10 (7.211)\n"
                          "point 3 -14 (6.000, 4.000)\n"
                          "point 6 -10 (12.000, 8.000)\n"
                          "angle 0 30 (270.000\xC2\xB0)\n");
}

TEST(MeasureCommand, OptionsTakeEffectInTheOrderGiven) {
    const CliResult result =
        RunMeasureCommand({"point:3,4", "--values", "--calibration", "2,3000,50,100,0", "--values"});
    ASSERT_EQ(result.status, 0) << result.err;
    // 3000 is stored as 2000 and pixel size 0 as 100: x scale 20, y scale 0.5.
    EXPECT_EQ(result.out, "point X=3.000 Y=4.000\npoint X=60.000 Y=2.000\n");
}

TEST(MeasureCommand, CalFilesRoundTripAndAreValidatedOnLoad) {
    TemporaryFolder folder;
    const std::string saved = folder.file("a.Cal");
    ASSERT_EQ(RunMeasureCommand({"--calibration", "3,0.1,7.25,3,9", "--save-cal", saved}).status, 0);
    CalibrationRecord record;
    ASSERT_EQ(ReadCalFile(saved, record), CalFileRead::Read);
    EXPECT_EQ(record, (CalibrationRecord{3, 0.1, 7.25, 3, 9}));

    const CliResult loaded = RunMeasureCommand({"point:3,9", "--cal", saved, "--values"});
    EXPECT_EQ(loaded.out, "point X=0.100 Y=7.250\n");

    const std::string odd = folder.file("odd.Cal");
    ASSERT_TRUE(WriteCalFile(odd, {9, -1.0, 4.0, 0, 2}));
    const std::string copy = folder.file("copy.Cal");
    ASSERT_EQ(RunMeasureCommand({"--cal", odd, "--save-cal", copy}).status, 0);
    ASSERT_EQ(ReadCalFile(copy, record), CalFileRead::Read);
    EXPECT_EQ(record, (CalibrationRecord{0, 100.0, 4.0, 100, 2}));
}

TEST(MeasureCommand, AFileThatIsNoCalibrationFails) {
    TemporaryFolder folder;
    const std::string path = folder.file("bad.Cal");
    CalFileBytes bytes = EncodeCalibration({});
    bytes[2] = 'l';
    testing::WriteFileBytes(path, testing::Bytes(bytes.begin(), bytes.end()));
    CliResult result = RunMeasureCommand({"--cal", path, "--values", "point:1,1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Can not read the file!"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");

    const CalFileBytes whole = EncodeCalibration({});
    testing::WriteFileBytes(path, testing::Bytes(whole.begin(), whole.end() - 1));
    result = RunMeasureCommand({"--cal", path});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Can not read the file!"), std::string::npos) << result.err;

    EXPECT_EQ(RunMeasureCommand({"--cal", folder.file("absent.Cal")}).status, 1);
}

TEST(MeasureCommand, MalformedItemsAndOptionsAreWrongUsage) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"point:1"},
             {"point:1,2,3"},
             {"point:1,x"},
             {"point:1,2.5"},
             {"line:1,2,3,"},
             {"blob:1,2"},
             {"point"},
             {"point:1,2000000001"},
             {"--calibration", "1,2,3"},
             {"--calibration", "a,1,1,1,1"},
             {"--frobnicate"},
             {"--cal"},
         }) {
        const CliResult result = RunMeasureCommand(arguments);
        EXPECT_EQ(result.status, 2) << arguments[0];
        EXPECT_EQ(result.out, "");
    }
}

} // namespace
} // namespace halvera
