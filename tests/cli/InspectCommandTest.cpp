// `halvera-cli inspect` through the real binary: a recipe run on pictures
// of a plate lying at different places, its CSV files, the exit status and
// the same output for any number of jobs.
#include "CliRunner.h"
#include "ImageFileTestSupport.h"
#include "RecipePlate.h"
#include "image/BmpFile.h"
#include "measure/RecipeFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace halvera::testing {
namespace {

std::string TextOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

size_t LinesOf(const std::string& text, const std::string& part) {
    size_t lines = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines += line.find(part) != std::string::npos ? 1 : 0;
    return lines;
}

// A recipe file and plates lying at five places (the third moved out of the
// picture's reach, so its datum is not found).
struct InspectionFiles {
    TemporaryFolder folder;
    std::string recipe;
    std::vector<std::string> images;

    explicit InspectionFiles(const InspectionRecipe& plateRecipe) {
        recipe = folder.file("plate.recipe.json");
        EXPECT_TRUE(WriteRecipeFile(recipe, plateRecipe));
        const SubPixelPoint shifts[] = {{0, 0}, {12, -9}, {-400, 0}, {-15, 18}, {5, 5}};
        const double turns[] = {0.0, 3.0, 0.0, -4.5, 1.0};
        for (size_t i = 0; i < std::size(shifts); ++i) {
            const DibBlock picture =
                RenderPlate(kPlatePictureWidth, kPlatePictureHeight,
                            MovePlate(kPlatePlaced, shifts[i], turns[i]), PlateLook(20 + i));
            images.push_back(folder.file("part" + std::to_string(i + 1) + ".bmp"));
            EXPECT_TRUE(CBmpFile().Write(images.back(), picture.dib()));
        }
    }

    std::vector<std::string> Command(std::vector<std::string> options) const {
        std::vector<std::string> words = {"inspect", recipe};
        words.insert(words.end(), images.begin(), images.end());
        words.insert(words.end(), options.begin(), options.end());
        return words;
    }
};

TEST(InspectCommand, OneAndTwoJobsWriteTheSameRowsInInputOrder) {
    const InspectionFiles files(PlateRecipe());
    const std::string one = files.folder.file("one.csv");
    const std::string two = files.folder.file("two.csv");
    const CliResult first = RunCliCapturing(files.Command({"--jobs", "1", "--csv", one}));
    const CliResult second = RunCliCapturing(files.Command({"--jobs", "2", "--csv", two}));
    // The third plate's datum is not found: status 3, the others measured.
    EXPECT_EQ(first.status, 3) << first.err;
    EXPECT_EQ(second.status, 3) << second.err;
    EXPECT_EQ(TextOf(one), TextOf(two));
    EXPECT_EQ(first.err, second.err);
    const std::string rows = TextOf(one);
    EXPECT_EQ(rows.substr(0, rows.find('\n')),
              "Image,Item,Kind,Name,Value,Standard,Upper,Lower,Verdict");
    EXPECT_EQ(LinesOf(rows, "5 Diameter,edge-circle,bore,1"), 4u) << rows;
    EXPECT_EQ(LinesOf(rows, ",120.000,0.100,-0.100,Pass"), 4u);
    EXPECT_EQ(LinesOf(rows, "Failed: datum not found"), 1u);
    // Progress: one line per picture, in input order.
    std::vector<size_t> order;
    for (size_t i = 0; i < files.images.size(); ++i)
        order.push_back(first.err.find("[" + std::to_string(i + 1) + "/5] " + files.images[i]));
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << first.err;
    EXPECT_EQ(order.back() == std::string::npos, false);
    EXPECT_NE(first.err.find("part3.bmp: failed: datum not found"), std::string::npos);
}

TEST(InspectCommand, AllPassingIsStatusZeroAndTheSummaryHasEachValue) {
    const InspectionFiles files(PlateRecipe());
    const std::string summary = files.folder.file("summary.csv");
    std::vector<std::string> words = {"inspect",       files.recipe,    files.images[0],
                                      files.images[1], files.images[3], "--summary",
                                      summary};
    const CliResult result = RunCliCapturing(words);
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string text = TextOf(summary);
    EXPECT_EQ(text.substr(0, text.find('\n')), "Item,Kind,Name,n,mean,sd,min,max,Cp,Cpk");
    EXPECT_EQ(LinesOf(text, "5 Diameter,edge-circle,bore,3,1"), 1u) << text;
    // A Cp and a Cpk only for the value with a tolerance.
    const auto lineOf = [&](const std::string& start) {
        const size_t at = text.find("\n" + start);
        return at == std::string::npos ? std::string()
                                       : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
    };
    const std::string diameter = lineOf("5 Diameter,");
    const std::string radius = lineOf("5 Radius,");
    ASSERT_FALSE(diameter.empty() || radius.empty()) << text;
    EXPECT_NE(diameter.substr(diameter.size() - 2), ",,");
    EXPECT_EQ(radius.substr(radius.size() - 2), ",,");
}

TEST(InspectCommand, AValueOutOfToleranceIsStatusThree) {
    InspectionRecipe recipe = PlateRecipe();
    recipe.tolerances[0].entry = {119.0, 0.1, -0.1};
    const InspectionFiles files(recipe);
    const CliResult result =
        RunCliCapturing({"inspect", files.recipe, files.images[0], files.images[1]});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("part1.bmp: 1 errors"), std::string::npos) << result.err;
}

TEST(InspectCommand, BadInputIsRefusedBeforeAnythingIsWritten) {
    const InspectionFiles files(PlateRecipe());
    const std::string csv = files.folder.file("out.csv");
    EXPECT_EQ(RunCli(files.Command({"--jobs", "0", "--csv", csv})), 2);
    EXPECT_EQ(RunCli(files.Command({"--datum-radius", "-4", "--csv", csv})), 2);
    EXPECT_EQ(RunCli(files.Command({"--csv", files.images[0]})), 2);
    EXPECT_EQ(RunCli({"inspect", files.recipe}), 2);
    EXPECT_EQ(RunCli(files.Command({"--csv", files.folder.file("no/such/folder.csv")})), 1);
    { std::ofstream(files.recipe) << TextOf(files.recipe).substr(0, 40); }
    const CliResult corrupted = RunCliCapturing(files.Command({"--csv", csv}));
    EXPECT_EQ(corrupted.status, 1);
    EXPECT_NE(corrupted.err.find("Can not read the recipe"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(csv));
    EXPECT_NE(RunCliCapturing({"--help"}).out.find("halvera-cli inspect RECIPE IMAGE..."),
              std::string::npos);
}

// The folder holding the plates (and the recipe, which is no picture) stands
// for its five plates in name order, between the pictures named before and
// after it.
TEST(InspectCommand, AFolderStandsForItsPicturesInNameOrderAtItsPlace) {
    const InspectionFiles files(PlateRecipe());
    const std::string folder = files.folder.file("");
    const std::string csv = files.folder.file("rows.csv");
    const CliResult result = RunCliCapturing({"inspect", files.recipe, files.images[1], folder,
                                              files.images[0], "--jobs", "2", "--csv", csv});
    EXPECT_EQ(result.status, 3) << result.err; // the third plate's datum is not found
    std::vector<std::string> order = {files.images[1]};
    order.insert(order.end(), files.images.begin(), files.images.end());
    order.push_back(files.images[0]);
    std::vector<size_t> at;
    for (size_t i = 0; i < order.size(); ++i)
        at.push_back(result.err.find("[" + std::to_string(i + 1) + "/7] " + order[i] + ": "));
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end())) << result.err;
    EXPECT_NE(at.back(), std::string::npos) << result.err;
    EXPECT_EQ(LinesOf(TextOf(csv), "5 Diameter,edge-circle,bore,1"), 6u);
}

TEST(InspectCommand, AFolderWithoutPicturesOrAnOutputOverAFolderPictureWritesNothing) {
    const InspectionFiles files(PlateRecipe());
    const std::string csv = files.folder.file("rows.csv");
    std::filesystem::create_directory(files.folder.file("empty"));
    const CliResult empty = RunCliCapturing(
        {"inspect", files.recipe, files.images[0], files.folder.file("empty"), "--csv", csv});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("There are no pictures (.bmp, .jpg, .jpeg, .png, .tif or .tiff) "
                             "in the folder " +
                             files.folder.file("empty") + "."),
              std::string::npos)
        << empty.err;
    EXPECT_EQ(empty.err.find("[1/"), std::string::npos) << "no picture is measured";
    EXPECT_FALSE(std::filesystem::exists(csv));

    // The folder's pictures are inputs too: no output may replace one.
    const std::string before = TextOf(files.images[2]);
    EXPECT_EQ(RunCli({"inspect", files.recipe, files.folder.file(""), "--csv", files.images[2]}),
              2);
    EXPECT_EQ(TextOf(files.images[2]), before);
}

} // namespace
} // namespace halvera::testing
