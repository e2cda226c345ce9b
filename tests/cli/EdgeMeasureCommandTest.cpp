// The batch tool's edge items and calibrate command, run as a user would on
// pictures of known geometry.
#include "CliRunner.h"
#include "EdgePictures.h"
#include "ImageFileTestSupport.h"
#include "image/BmpFile.h"
#include "measure/CalFile.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace halvera::testing {
namespace {

CliResult Cli(std::vector<std::string> arguments) {
    return RunCliCapturing(arguments);
}

std::string Written(const TemporaryFolder& folder, const std::string& name,
                    const DibBlock& picture) {
    const std::string path = folder.file(name);
    EXPECT_TRUE(CBmpFile().Write(path, picture.dib()));
    return path;
}

// The NAME=VALUE pairs of one --values line, after its kind.
std::map<std::string, double> ValuesOf(const std::string& line) {
    std::map<std::string, double> values;
    std::istringstream words(line);
    std::string word;
    words >> word;
    while (words >> word) {
        const size_t equals = word.find('=');
        double value = 0.0;
        std::from_chars(word.data() + equals + 1, word.data() + word.size(), value);
        values[word.substr(0, equals)] = value;
    }
    return values;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TEST(EdgeMeasureCommand, EdgeItemsGiveTheRenderedGeometry) {
    TemporaryFolder folder;
    const StraightEdgeTruth edge{{60.37, 50.21}, 17.0};
    const std::string slanted =
        Written(folder, "edge.bmp", RenderGrey(CoverHalfPlane(120, 100, edge), {}));
    const SubPixelPoint centre{60.42, 55.81};
    const std::string disc =
        Written(folder, "disc.bmp", RenderGrey(CoverDisc(120, 110, centre, 31.6), {}));
    const StraightEdgeTruth barSide{{30.0, 60.29}, 0.0};
    const std::string bar =
        Written(folder, "bar.bmp", RenderGrey(CoverBar(100, 100, barSide, 23.4), {}));

    // The segment lies 2 pixels off the edge; the circle's guess 2 off its centre.
    CliResult result = Cli(
        {"measure", "--image", slanted, "--values", "edge-line:21,64,99,41", "edge-point:58,47"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    // Within the accuracy pinned for sharp edges, and the printed thousandths.
    const auto point = ValuesOf(lines[0]);
    EXPECT_LE(std::fabs(edge.InsideDistance({point.at("X"), point.at("Y")})), 0.031);
    EXPECT_EQ(point.count("Residual"), 0u) << "a single point is no fit";
    const auto line = ValuesOf(lines[1]);
    EXPECT_NEAR(line.at("Angle"), 17.0, 0.021);
    EXPECT_LE(std::fabs(edge.InsideDistance({line.at("Xs"), line.at("Ys")})), 0.021);
    EXPECT_LE(std::fabs(edge.InsideDistance({line.at("Xe"), line.at("Ye")})), 0.021);
    EXPECT_LT(line.at("Residual"), 0.05) << "a clean edge is straight";

    result = Cli({"measure", "--image", disc, "--values", "edge-circle:62,54,30"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto circle = ValuesOf(result.out);
    EXPECT_NEAR(circle.at("Radius"), 31.6, 0.021);
    EXPECT_NEAR(circle.at("CenterX"), centre.x, 0.021);
    EXPECT_NEAR(circle.at("CenterY"), centre.y, 0.021);
    EXPECT_LT(circle.at("Residual"), 0.05) << "a clean circle is round";

    // Across the bar (rows 36.89 to 60.29) at a slant: the width is still
    // square to its sides.
    result = Cli(
        {"measure", "--image", bar, "--calibration", "1,2,2,1,1", "--values", "width:40,25,47,75"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto width = ValuesOf(result.out);
    EXPECT_NEAR(width.at("Length"), 2 * 23.4, 2 * 0.031) << "Length is calibrated";
    EXPECT_NEAR(width.at("Angle"), 270.0, 0.05) << "down the picture, square to the bar";
}

TEST(EdgeMeasureCommand, AnEdgeNotFoundIsNamedAndNothingIsWritten) {
    TemporaryFolder folder;
    const Coverage nothing = CoverHalfPlane(60, 60, {{-100.0, 0.0}, 90.0});
    const std::string flat = Written(folder, "flat.bmp", RenderGrey(nothing, {}));
    const std::string csv = folder.file("out.csv");
    const CliResult result = Cli({"measure", "--image", flat, "--csv", csv, "point:3,3",
                                  "edge-line:10,10,50,10", "edge-circle:30,30,10"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("edge-line:10,10,50,10: no edge with contrast within 8.0 pixels\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("edge-circle:30,30,10: no edge"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(csv));
}

TEST(EdgeMeasureCommand, ShapesFarBeyondThePictureAreRefusedNotWorkedThrough) {
    TemporaryFolder folder;
    const std::string step =
        Written(folder, "step.bmp", RenderGrey(CoverHalfPlane(80, 80, {{40.3, 0.0}, 90.0}), {}));
    const CliResult result =
        Cli({"measure", "--image", step, "edge-circle:30,30,1000000000",
             "edge-line:-1000000000,10,1000000000,12", "edge-point:900000000,5"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("edge-circle:30,30,1000000000: "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("edge-point:900000000,5: the search lies outside the picture"),
              std::string::npos)
        << result.err;
}

TEST(EdgeMeasureCommand, TheSnapRadiusBoundsHowFarAnEdgeIsSought) {
    TemporaryFolder folder;
    const std::string picture =
        Written(folder, "step.bmp", RenderGrey(CoverHalfPlane(80, 80, {{40.3, 0.0}, 90.0}), {}));
    // The edge runs down x = 40.3, 12 pixels from the segment.
    const std::string far = "edge-line:28,10,28,70";
    EXPECT_EQ(Cli({"measure", "--image", picture, far}).status, 1);
    const CliResult found = Cli({"measure", "--image", picture, "--snap", "14", "--values", far});
    ASSERT_EQ(found.status, 0) << found.err;
    EXPECT_NEAR(ValuesOf(found.out).at("Xs"), 40.3, 0.021);
}

TEST(EdgeMeasureCommand, EdgeItemsNeedAPictureAndWellFormedNumbers) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"measure", "edge-point:1,2"},
             {"measure", "--image", "x.bmp", "edge-line:1,2,3"},
             {"measure", "--image", "x.bmp", "edge-circle:1,2,0"},
             {"measure", "--snap", "0", "point:1,1"},
             {"measure", "--snap", "far", "point:1,1"},
         }) {
        const CliResult result = Cli(arguments);
        EXPECT_EQ(result.status, 2) << arguments.back() << result.err;
        EXPECT_EQ(result.out, "");
    }
}

// A stage micrometer along x: 25 dark ticks 17.3 pixels apart.
DibBlock Micrometer(const Look& look) {
    return RenderGrey(CoverTicks(470, 120, {false, 16.4, 17.3, 25, 2.5, 0.0, 90.0}), look);
}

double PrintedScale(const std::string& out, const std::string& axis) {
    const std::string label = axis + " scale = ";
    const size_t at = out.find(label);
    EXPECT_NE(at, std::string::npos) << out;
    double value = 0.0;
    std::from_chars(out.data() + at + label.size(), out.data() + out.size(), value);
    return value;
}

TEST(EdgeMeasureCommand, CalibratePrintsTheScaleAndSavesACalThatKeepsIt) {
    TemporaryFolder folder;
    Look dark;
    dark.inside = 30.0;
    dark.outside = 210.0;
    dark.blur = 1.0;
    const std::string picture = Written(folder, "ticks.bmp", Micrometer(dark));
    const std::string cal = folder.file("ticks.Cal");
    const CliResult result =
        Cli({"calibrate", picture, "--spacing", "10", "--unit", "mm", "--save-cal", cal});
    ASSERT_EQ(result.status, 0) << result.err;
    const double scale = PrintedScale(result.out, "x");
    EXPECT_LE(std::fabs(scale - 10.0 / 17.3) / (10.0 / 17.3), 1e-4);
    EXPECT_EQ(result.out.find("y scale"), std::string::npos);

    CalibrationRecord record;
    ASSERT_EQ(ReadCalFile(cal, record), CalFileRead::Read);
    EXPECT_EQ(record.unit, 1);
    EXPECT_LE(record.pixelWidth, 2000);
    EXPECT_LE(record.realX, 2000.0);
    EXPECT_NEAR(record.realX / record.pixelWidth, scale, scale * 1e-9);
    EXPECT_NEAR(record.realY / record.pixelHeight, scale, scale * 1e-9) << "square pixels";
}

TEST(EdgeMeasureCommand, CalibrateFindsTicksDownTheColumnsToo) {
    TemporaryFolder folder;
    const std::string picture =
        Written(folder, "column.bmp",
                RenderGrey(CoverTicks(120, 470, {true, 12.2, 19.03, 23, 3.0, 0.2, 90.0}), {}));
    const CliResult result = Cli({"calibrate", picture, "--spacing", "0.01", "--axis", "y"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_LE(std::fabs(PrintedScale(result.out, "y") - 0.01 / 19.03) / (0.01 / 19.03), 1e-4);
    EXPECT_EQ(result.out.find("x scale"), std::string::npos);
}

TEST(EdgeMeasureCommand, CalibrateRefusesAPictureWithoutAClearPeriod) {
    TemporaryFolder folder;
    Look noisy;
    noisy.noise = 20.0;
    const std::string picture = Written(
        folder, "noise.bmp", RenderGrey(CoverHalfPlane(300, 100, {{-10.0, 0.0}, 90.0}), noisy));
    const std::string cal = folder.file("none.Cal");
    const CliResult result = Cli({"calibrate", picture, "--spacing", "10", "--save-cal", cal});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("No clear period of at least 5 micrometer ticks along x."),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(cal));
}

TEST(EdgeMeasureCommand, CalibrateChecksEveryOptionBeforeReadingOrWriting) {
    TemporaryFolder folder;
    const std::string picture = Written(folder, "ticks.bmp", Micrometer({}));
    const std::string cal = folder.file("never.Cal");
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"calibrate", picture, "--save-cal", cal, "--axis", "z", "--spacing", "10"},
             {"calibrate", picture, "--save-cal", cal, "--spacing", "-1"},
             {"calibrate", picture, "--save-cal", cal, "--spacing", "10", "--unit", "nm"},
             {"calibrate", picture, "--save-cal", cal},
             {"calibrate", "--spacing", "10"},
         }) {
        EXPECT_EQ(Cli(arguments).status, 2) << arguments.back();
        EXPECT_FALSE(std::filesystem::exists(cal));
    }
}

TEST(EdgeMeasureCommand, HelpDocumentsTheEdgeItemsAndCalibrate) {
    const CliResult help = Cli({"--help"});
    ASSERT_EQ(help.status, 0);
    for (const char* text : {"--image FILE", "--snap RADIUS", "edge-point:X,Y",
                             "edge-line:X1,Y1,X2,Y2", "edge-circle:CX,CY,R", "width:X1,Y1,X2,Y2",
                             "Residual=", "calibrate IMAGE --spacing REAL", "--axis x|y|both"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
}

} // namespace
} // namespace halvera::testing
