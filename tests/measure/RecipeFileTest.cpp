// The recipe file: written and read back whole, refused when corrupted, of
// another format or of a later version, written without locale.
#include "measure/RecipeFile.h"

#include "CommaLocale.h"
#include "ImageFileTestSupport.h"
#include "RecipePlate.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

InspectionRecipe SampleRecipe() {
    InspectionRecipe recipe = PlateRecipe();
    recipe.calibration = {1, 0.5, 0.25, 400, 200};
    recipe.output = OutputSelection::NoItems();
    recipe.output.add(15);
    recipe.output.add(2);
    recipe.items.push_back({RecipeItemKind::Point, {{3.0, 4.0}}});
    recipe.items.push_back({RecipeItemKind::Point, {{30.0, 40.0}}, -1, -1, "pin B"});
    recipe.items.push_back({RecipeItemKind::PointPair, {}, 5, 6, "pins"});
    return recipe;
}

std::string WithReplaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(RecipeFile, WrittenAndReadBackWhole) {
    const InspectionRecipe recipe = SampleRecipe();
    const TemporaryFolder folder;
    const std::string path = folder.file("plate.recipe.json");
    ASSERT_TRUE(WriteRecipeFile(path, recipe));
    const RecipeRead read = ReadRecipeFile(path);
    ASSERT_TRUE(read.recipe) << read.problem;
    EXPECT_EQ(*read.recipe, recipe);
    EXPECT_NE(RecipeText(recipe).find("\"format\": \"halvera-recipe\""), std::string::npos);
    EXPECT_NE(RecipeText(recipe).find("\"name\": \"bore\""), std::string::npos);
}

TEST(RecipeFile, KeepsThePresetNameAsAnOptionalField) {
    InspectionRecipe recipe = SampleRecipe();
    recipe.preset = "10x objective";
    const std::string text = RecipeText(recipe);
    EXPECT_NE(text.find("\"preset\": \"10x objective\""), std::string::npos);
    EXPECT_NE(text.find("\"version\": 1"), std::string::npos);
    const RecipeRead read = ParseRecipe(text);
    ASSERT_TRUE(read.recipe) << read.problem;
    EXPECT_EQ(*read.recipe, recipe);
    // Without a preset the field is left out, and a file without it reads.
    EXPECT_EQ(RecipeText(SampleRecipe()).find("\"preset\""), std::string::npos);
    EXPECT_FALSE(ParseRecipe(WithReplaced(text, "\"10x objective\"", "7")).recipe);
}

TEST(RecipeFile, NumbersAreWrittenAndReadWithoutLocale) {
    const InspectionRecipe recipe = SampleRecipe();
    const CommaLocale comma;
    ASSERT_TRUE(comma.active());
    const std::string text = RecipeText(recipe);
    EXPECT_NE(text.find("0.25"), std::string::npos);
    EXPECT_EQ(text.find("0,25"), std::string::npos);
    const RecipeRead read = ParseRecipe(text);
    ASSERT_TRUE(read.recipe) << read.problem;
    EXPECT_EQ(*read.recipe, recipe);
}

TEST(RecipeFile, RefusesWhatItCannotRunNamingTheFault) {
    const std::string text = RecipeText(SampleRecipe());
    const struct {
        std::string text;
        std::string problem;
    } refused[] = {
        {text.substr(0, text.size() / 2), "not JSON"},
        {"", "not JSON"},
        {WithReplaced(text, "\"version\": 1", "\"version\": 2"), "later version"},
        {WithReplaced(text, "halvera-recipe", "halvera-measurements"), "not a recipe"},
        {WithReplaced(text, "\"kind\": \"edge-circle\"", "\"kind\": \"ellipse\""), "unknown kind"},
        {WithReplaced(text, "\"unit\": 1", "\"unit\": 7"), "unit"},
        {WithReplaced(text, "\"line\": 2", "\"line\": 5"), "reference edge must be an edge-line"},
        {WithReplaced(text, "\"line\": 2", "\"line\": 99"), "the datum's line"},
        {WithReplaced(text, "\"items\": [\n        6,\n        7\n      ]",
                      "\"items\": [\n        6,\n        6\n      ]"),
         "pair"},
        {WithReplaced(text, "\"calibration\"", "\"calibrations\""), "\"calibration\" is missing"},
    };
    for (const auto& [corrupted, problem] : refused) {
        const RecipeRead read = ParseRecipe(corrupted);
        EXPECT_FALSE(read.recipe) << problem;
        EXPECT_NE(read.problem.find(problem), std::string::npos) << read.problem;
    }
    EXPECT_NE(ReadRecipeFile("/no/such/folder/x.json").problem.find("can not be opened"),
              std::string::npos);
}

TEST(RecipeFile, AFailedWriteLeavesTheFileAsItWas) {
    const TemporaryFolder folder;
    const std::string path = folder.file("plate.recipe.json");
    std::ofstream(path) << "kept";
    // A folder in the file's place cannot be replaced: the file stays whole.
    const std::string inFolder = folder.file("no-such-folder/r.json");
    EXPECT_FALSE(WriteRecipeFile(inFolder, SampleRecipe()));
    EXPECT_FALSE(std::filesystem::exists(inFolder));
    std::filesystem::permissions(folder.file(""), std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_exec);
    const bool refused = !WriteRecipeFile(path, SampleRecipe());
    std::filesystem::permissions(folder.file(""), std::filesystem::perms::owner_all);
    if (refused) { // root may write anywhere
        std::ifstream in(path);
        std::string text;
        std::getline(in, text);
        EXPECT_EQ(text, "kept");
    }
}

} // namespace
} // namespace halvera::testing
