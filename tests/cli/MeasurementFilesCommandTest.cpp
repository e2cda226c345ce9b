// `halvera-cli measure` keeps its items in a measurement file and reads them
// back, with the calibration they were measured with.
#include "CliPictures.h"
#include "CliRunner.h"
#include "ImageFileTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace halvera {
namespace {

using testing::Bytes;
using testing::CliResult;
using testing::ReadFileBytes;
using testing::RunCliCapturing;
using testing::TemporaryFolder;

// The label lines of `kind` ("pair", "point"), without their positions.
std::vector<std::string> LabelTexts(const std::string& out, const std::string& kind) {
    std::vector<std::string> texts;
    size_t start = 0;
    while (start < out.size()) {
        const size_t end = out.find('\n', start);
        const std::string line = out.substr(start, end - start);
        if (line.starts_with(kind + " "))
            texts.push_back(line.substr(line.find('(')));
        start = end == std::string::npos ? out.size() : end + 1;
    }
    return texts;
}

nlohmann::json JsonOf(const std::string& path) {
    const Bytes bytes = ReadFileBytes(path);
    return nlohmann::json::parse(bytes.begin(), bytes.end());
}

TEST(MeasurementFilesCommand, SavedItemsComeBackWithTheirCalibration) {
    TemporaryFolder folder;
    const std::string picture = folder.file("cells.bmp");
    testing::WriteBmp24(picture, 40, 30, [](int, int) { return testing::Pixel{128, 128, 128}; });
    const std::string file = folder.file("kept.json");
    const CliResult saved =
        testing::RunMeasureCommand({"--image", picture, "--calibration", "1,20,30,100,100", "point:3,4", "point:6,8",
                 "pair:1,2", "line:0,0,10,0", "--values", "--save-measurements", file});
    ASSERT_EQ(saved.status, 0) << saved.err;

    const nlohmann::json json = JsonOf(file);
    EXPECT_EQ(json["format"], "halvera-measurements");
    EXPECT_EQ(json["image"], "cells.bmp") << "the picture's name, without its folder";
    EXPECT_EQ(json["calibration"]["unit"], "mm");
    EXPECT_EQ(json["calibration"]["realY"].get<double>(), 30.0);
    EXPECT_EQ(json["items"].size(), 4u);

    // The same values without giving the calibration again.
    const CliResult loaded = testing::RunMeasureCommand({"--load-measurements", file, "--values"});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_EQ(loaded.out, saved.out);
    EXPECT_NE(loaded.out.find("point X=0.600 Y=1.200"), std::string::npos) << loaded.out;
}

// The file's items come after those of the command line, its point pairs
// still naming its own points; a later calibration replaces the file's.
TEST(MeasurementFilesCommand, LoadedItemsFollowTheCommandLineAndALaterCalibrationWins) {
    TemporaryFolder folder;
    const std::string file = folder.file("pair.json");
    ASSERT_EQ(testing::RunMeasureCommand({"point:0,0", "point:3,4", "pair:1,2", "--calibration", "0,50,50,100,100",
                       "--save-measurements", file})
                  .status,
              0);
    const CliResult result = testing::RunMeasureCommand({"point:100,100", "--load-measurements", file, "--calibration",
                                      "0,200,200,100,100", "--labels"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(LabelTexts(result.out, "pair"), (std::vector<std::string>{"(10.000)"}))
        << "the pair measures its own points at scale 2: " << result.out;
    EXPECT_EQ(LabelTexts(result.out, "point"),
              (std::vector<std::string>{"(200.000, 200.000)", "(0.000, 0.000)", "(6.000, 8.000)"}));

    const CliResult fileScale = testing::RunMeasureCommand({"--load-measurements", file, "--labels"});
    EXPECT_EQ(LabelTexts(fileScale.out, "pair"), (std::vector<std::string>{"(2.500)"}));
}

TEST(MeasurementFilesCommand, ARefusedFileFailsBeforeAnythingIsWritten) {
    TemporaryFolder folder;
    const std::string newer = folder.file("newer.json");
    const std::string text = R"({"format": "halvera-measurements", "version": 2})";
    testing::WriteFileBytes(newer, Bytes(text.begin(), text.end()));
    const std::string output = folder.file("out.json");
    const CliResult result =
        testing::RunMeasureCommand({"point:1,1", "--save-measurements", output, "--load-measurements", newer});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("version 2 is newer than this program reads"), std::string::npos)
        << result.err;
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"newer.json"}));
    EXPECT_EQ(ReadFileBytes(newer), Bytes(text.begin(), text.end()));
}

} // namespace
} // namespace halvera
