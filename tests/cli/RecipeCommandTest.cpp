// `halvera-cli recipe` through the real binary: a recipe made from a
// measurement file that `measure` saved on a plate, run by `inspect` on the
// plate moved, and the usage that is refused before anything is written.
#include "CliRunner.h"
#include "ImageFileTestSupport.h"
#include "RecipePlate.h"
#include "image/BmpFile.h"
#include "measure/RecipeFile.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace halvera::testing {
namespace {

// 10 mm per 100 pixels, as `--calibration` takes it.
constexpr const char* kCalibration = "1,10,10,100,100";

std::string TextOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Word(const char* kind, std::initializer_list<double> numbers) {
    std::string word = kind;
    char separator = ':';
    for (const double n : numbers) {
        word += separator + std::to_string(static_cast<long>(std::lround(n)));
        separator = ',';
    }
    return word;
}

// The plate's pose after a shift and a turn, and its picture in `folder`.
std::string WritePlate(const TemporaryFolder& folder, const std::string& name,
                       const PartFrame& pose) {
    const std::string path = folder.file(name);
    const DibBlock picture =
        RenderPlate(kPlatePictureWidth, kPlatePictureHeight, pose, PlateLook(3));
    EXPECT_TRUE(CBmpFile().Write(path, picture.dib()));
    return path;
}

// The edge items an inspector clicks on the plate lying at `pose`: the
// right side's edge point (item 1 in the file), the bottom edge (2), the
// left side (3) and the bore (4).
std::vector<std::string> PlateItems(const PartFrame& pose) {
    const auto at = [&](double x, double y) {
        return pose.ToPicture({x, y});
    };
    const SubPixelPoint point = at(Plate::kLength, -200.0);
    const SubPixelPoint b0 = at(40.0, 0.0), b1 = at(220.0, 0.0);
    const SubPixelPoint l0 = at(0.0, -30.0), l1 = at(0.0, -200.0);
    const SubPixelPoint bore = pose.ToPicture(Plate::kBoreCentre);
    return {Word("edge-circle", {bore.x, bore.y, Plate::kBoreRadius}),
            Word("edge-line", {b0.x, b0.y, b1.x, b1.y}),
            Word("edge-line", {l0.x, l0.y, l1.x, l1.y}), Word("edge-point", {point.x, point.y})};
}

// The number after "NAME=" on the printed values line of `kind`.
double PrintedValue(const std::string& out, const std::string& kind, const std::string& name) {
    const size_t line = out.find(kind + " ");
    const size_t at = out.find(" " + name + "=", line);
    EXPECT_NE(at, std::string::npos) << out;
    return at == std::string::npos ? NAN : std::stod(out.substr(at + name.size() + 2));
}

// The Value column of the CSV row that starts with `item` ("4 Diameter").
double CsvValue(const std::string& csv, const std::string& item, std::string* name = nullptr) {
    const size_t at = csv.find("," + item + ",");
    EXPECT_NE(at, std::string::npos) << csv;
    if (at == std::string::npos)
        return NAN;
    std::stringstream row(csv.substr(at + item.size() + 2));
    std::string kind, itemName, value;
    std::getline(row, kind, ',');
    std::getline(row, itemName, ',');
    std::getline(row, value, ',');
    if (name)
        *name = itemName;
    return std::stod(value);
}

// Presets are looked up in a private settings folder, never the user's.
class RecipeCommand : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", config_.file("config").c_str(), 1); }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

private:
    TemporaryFolder config_;
};

// A measurement file saved by `measure` on the placed plate.
struct MeasuredPlate {
    TemporaryFolder folder;
    std::string measurements = folder.file("plate.measure.json");
    std::string recipe = folder.file("plate.recipe.json");

    MeasuredPlate() {
        const std::string picture = WritePlate(folder, "placed.bmp", kPlatePlaced);
        std::vector<std::string> words = {"measure",       "--image",    picture,
                                          "--calibration", kCalibration, "--save-measurements",
                                          measurements};
        for (const std::string& item : PlateItems(kPlatePlaced))
            words.push_back(item);
        const CliResult result = RunCliCapturing(words);
        EXPECT_EQ(result.status, 0) << result.err;
    }

    CliResult Recipe(std::vector<std::string> options) const {
        std::vector<std::string> words = {"recipe", measurements, recipe};
        words.insert(words.end(), options.begin(), options.end());
        return RunCliCapturing(words);
    }
};

TEST_F(RecipeCommand, InspectingAMovedPlateGivesTheValuesOfMeasuringItDirectly) {
    const MeasuredPlate plate;
    const CliResult made = plate.Recipe({"--datum", "2,3", "--name", "4=bore", "--name", "2=base"});
    ASSERT_EQ(made.status, 0) << made.err;
    const RecipeRead read = ReadRecipeFile(plate.recipe);
    ASSERT_TRUE(read.recipe) << read.problem;
    ASSERT_TRUE(read.recipe->datum);
    EXPECT_EQ(read.recipe->datum->line, 1);
    EXPECT_EQ(read.recipe->datum->origin, 2);
    EXPECT_EQ(read.recipe->items[3].kind, RecipeItemKind::EdgeCircle);
    EXPECT_EQ(read.recipe->items[3].name, "bore");
    EXPECT_EQ(read.recipe->items[1].name, "base");
    // The calibration comes from the measurement file.
    EXPECT_EQ(read.recipe->calibration.realX, 10.0);
    EXPECT_EQ(read.recipe->calibration.pixelWidth, 100);

    const PartFrame moved = MovePlate(kPlatePlaced, {12.0, -9.0}, 3.0);
    const std::string picture = WritePlate(plate.folder, "moved.bmp", moved);
    const std::string csv = plate.folder.file("rows.csv");
    const CliResult inspected = RunCliCapturing({"inspect", plate.recipe, picture, "--csv", csv});
    ASSERT_EQ(inspected.status, 0) << inspected.err;
    std::vector<std::string> words = {"measure",       "--image",    picture,
                                      "--calibration", kCalibration, "--values"};
    words.push_back(PlateItems(moved)[0]);
    const CliResult direct = RunCliCapturing(words);
    ASSERT_EQ(direct.status, 0) << direct.err;
    std::string name;
    const double diameter = CsvValue(TextOf(csv), "4 Diameter", &name);
    EXPECT_EQ(name, "bore");
    EXPECT_NEAR(diameter, PrintedValue(direct.out, "circle", "Diameter"), 0.005);
    EXPECT_NEAR(diameter, 12.0, 0.05);
}

TEST_F(RecipeCommand, ItemsAreNumberedInTheMeasurementFilesOrder) {
    TemporaryFolder folder;
    const std::string measurements = folder.file("m.json");
    const std::string recipe = folder.file("r.json");
    ASSERT_EQ(RunCli({"measure", "--save-measurements", measurements, "point:1,2", "rect:0,0,10,10",
                      "angle:10,0,0,0,0,-10"}),
              0);
    const nlohmann::json file = nlohmann::json::parse(TextOf(measurements));
    ASSERT_EQ(file["items"].size(), 3u);
    ASSERT_EQ(RunCli({"recipe", measurements, recipe, "--name", "2=corner", "--name", "3=box",
                      "--tolerance", "7,1,0.5,-0.5", "--select", "7,2"}),
              0);
    const RecipeRead read = ReadRecipeFile(recipe);
    ASSERT_TRUE(read.recipe) << read.problem;
    // The file lists the angle before the rectangle, and so do the numbers.
    EXPECT_EQ(file["items"][1]["kind"], "angle");
    EXPECT_EQ(file["items"][2]["kind"], "rectangle");
    const std::vector<RecipeItem>& items = read.recipe->items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].kind, RecipeItemKind::Point);
    EXPECT_EQ(items[1].kind, RecipeItemKind::Angle);
    EXPECT_EQ(items[1].name, "corner");
    EXPECT_EQ(items[2].kind, RecipeItemKind::Rectangle);
    EXPECT_EQ(items[2].name, "box");
    EXPECT_FALSE(read.recipe->datum);
    ASSERT_EQ(read.recipe->tolerances.size(), 1u);
    EXPECT_EQ(read.recipe->tolerances[0].item, 7);
    EXPECT_EQ(read.recipe->tolerances[0].entry.upper, 0.5);
    EXPECT_EQ(read.recipe->output.items(), (std::vector<int>{7, 2}));
}

TEST_F(RecipeCommand, TheCalibrationOptionReplacesTheFilesAndADatumWithoutOriginTakesTheFirst) {
    const MeasuredPlate plate;
    ASSERT_EQ(plate.Recipe({"--datum", "3", "--calibration", "0,5,5,10,10"}).status, 0);
    const RecipeRead read = ReadRecipeFile(plate.recipe);
    ASSERT_TRUE(read.recipe) << read.problem;
    EXPECT_EQ(read.recipe->calibration.unit, 0);
    EXPECT_EQ(read.recipe->calibration.pixelWidth, 10);
    ASSERT_TRUE(read.recipe->datum);
    EXPECT_EQ(read.recipe->datum->line, 2);
    EXPECT_EQ(read.recipe->datum->origin, 0); // the edge point comes first
}

TEST_F(RecipeCommand, APresetGivesItsCalibrationAndItsName) {
    ASSERT_EQ(RunCli({"measure", "--calibration", "2,3,3,50,50", "--save-preset", "5x"}), 0);
    const MeasuredPlate plate;
    ASSERT_EQ(plate.Recipe({"--preset", "5x"}).status, 0);
    const RecipeRead read = ReadRecipeFile(plate.recipe);
    ASSERT_TRUE(read.recipe) << read.problem;
    EXPECT_EQ(read.recipe->preset, "5x");
    EXPECT_EQ(read.recipe->calibration.unit, 2);
    EXPECT_EQ(read.recipe->calibration.pixelWidth, 50);
    // Both at once is wrong usage.
    std::filesystem::remove(plate.recipe);
    EXPECT_EQ(plate.Recipe({"--preset", "5x", "--calibration", kCalibration}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(plate.recipe));
}

TEST_F(RecipeCommand, WrongUsageAndMissingFilesWriteNothing) {
    const MeasuredPlate plate;
    const auto refused = [&](std::vector<std::string> options, int status) {
        const CliResult result = plate.Recipe(options);
        EXPECT_EQ(result.status, status) << result.err;
        EXPECT_FALSE(std::filesystem::exists(plate.recipe)) << result.err;
        return result.err;
    };
    EXPECT_NE(refused({"--datum", "9,3"}, 2).find("item 9 is not in the measurement file"),
              std::string::npos);
    EXPECT_NE(refused({"--datum", "4,3"}, 2).find("item 4 (edge-circle) is not an edge-line"),
              std::string::npos);
    refused({"--datum", "2,4"}, 2);
    refused({"--datum", "2,2"}, 2);
    refused({"--datum", "0"}, 2);
    refused({"--datum", "2,3,1"}, 2);
    refused({"--name", "bore"}, 2);
    refused({"--name", "5=bore"}, 2);
    refused({"--frobnicate", "1"}, 2);
    refused({"--select", "40"}, 2);
    refused({"--preset", "no such preset", "--datum", "2,3"}, 2);
    refused({"--tol", plate.folder.file("missing.tol")}, 1);
    refused({"--items", plate.folder.file("missing.items")}, 1);
    EXPECT_EQ(RunCli({"recipe", plate.measurements}), 2);
    EXPECT_EQ(RunCli({"recipe", plate.measurements, plate.measurements}), 2);
    const CliResult missing =
        RunCliCapturing({"recipe", plate.folder.file("none.json"), plate.recipe});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Can not read the measurements"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(plate.recipe));
    EXPECT_NE(RunCliCapturing({"--help"}).out.find("halvera-cli recipe MEASUREMENTS OUT"),
              std::string::npos);
}

} // namespace
} // namespace halvera::testing
