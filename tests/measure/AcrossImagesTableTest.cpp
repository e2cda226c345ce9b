// The texts of the "Results across images" panel, and reading its pictures
// on a worker thread without opening a window.
#include "measure/AcrossImagesTable.h"

#include "RecordingPrompts.h"
#include "image/BmpFile.h"
#include "measure/InspectionPictures.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace halvera::testing {
namespace {

constexpr int kDiameter = 15;
constexpr int kCircleCentreX = 12;

InspectionRecipe TwoItemRecipe() {
    InspectionRecipe recipe;
    recipe.items.push_back({RecipeItemKind::Point, {{1.0, 2.0}}, -1, -1, ""});
    recipe.items.push_back(
        {RecipeItemKind::EdgeCircle, {{50.0, 50.0}, {70.0, 50.0}}, -1, -1, "bore"});
    recipe.tolerances.push_back({kDiameter, {40.0, 0.1, -0.1}});
    return recipe;
}

PictureInspection Inspected(double x, double diameter) {
    PictureInspection result;
    result.values.push_back({1, kCircleCentreX, x, std::nullopt, Verdict::Unjudged});
    const ToleranceEntry tolerance{40.0, 0.1, -0.1};
    result.values.push_back({1, kDiameter, diameter, tolerance,
                             Judge(diameter, tolerance).pass ? Verdict::Pass : Verdict::Error});
    return result;
}

TEST(AcrossImagesTable, OneRowPerValueWithTheItemsNameAndVerdict) {
    const auto rows = AcrossImagesRows("a.bmp", TwoItemRecipe(), Inspected(50.25, 40.2));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (AcrossImagesRow{"a.bmp", "2 CenterX (bore)", "50.250", ""}));
    EXPECT_EQ(rows[1], (AcrossImagesRow{"a.bmp", "2 Diameter (bore)", "40.200", "Error"}));
}

TEST(AcrossImagesTable, AFailedPictureIsOneRowSayingWhy) {
    PictureInspection failed;
    failed.failure = "datum not found";
    const auto rows = AcrossImagesRows("b.bmp", TwoItemRecipe(), failed);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (AcrossImagesRow{"b.bmp", "", "", "Failed: datum not found"}));
}

TEST(AcrossImagesTable, SummaryHasCapabilityOnlyForATwoLimitTolerance) {
    const InspectionRecipe recipe = TwoItemRecipe();
    InspectionSummary summary;
    summary.Add(Inspected(50.0, 40.0));
    summary.Add(Inspected(52.0, 40.06));
    const auto rows = SummaryRows(recipe, summary.Summarise(recipe));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (SummaryRow{"2 CenterX (bore)", "2", "51.0000", "1.4142", "50.0000",
                                   "52.0000", "", ""}));
    // sd = 0.06 / sqrt(2); Cp = 0.2 / (6 sd); Cpk = (40.1 - 40.03) / (3 sd).
    EXPECT_EQ(rows[1], (SummaryRow{"2 Diameter (bore)", "2", "40.0300", "0.0424", "40.0000",
                                   "40.0600", "0.7857", "0.5500"}));
}

class InspectionPicturesTest : public ::testing::Test {
protected:
    std::string tempPath(const std::string& name) const {
        return (std::filesystem::temp_directory_path() / ("halvera-inspection-pictures-" + name))
            .string();
    }
    ScopedRecordingPrompts prompts;
};

TEST_F(InspectionPicturesTest, ReadsAPictureAsTwentyFourBits) {
    DibBlock grey;
    ASSERT_TRUE(CreateGrey(grey, 30, 20));
    const std::string path = tempPath("grey.bmp");
    ASSERT_TRUE(CBmpFile().Write(path, grey.dib()));
    const LoadedPicture loaded = LoadInspectionPicture(path);
    std::filesystem::remove(path);
    EXPECT_TRUE(loaded.failure.empty()) << loaded.failure;
    EXPECT_EQ(loaded.picture.width(), 30);
    EXPECT_EQ(loaded.picture.height, 20);
    EXPECT_EQ(loaded.picture.bitCount(), 24);
}

// On a worker thread, as the batch calls it: the reader's message is the
// picture's failure, and the program's prompts see nothing.
TEST_F(InspectionPicturesTest, AFileThatCannotBeReadFailsWithoutAMessage) {
    const std::string path = tempPath("missing.bmp");
    LoadedPicture loaded;
    std::thread worker([&] { loaded = LoadInspectionPicture(path); });
    worker.join();
    EXPECT_TRUE(loaded.picture.empty());
    EXPECT_NE(loaded.failure.find("missing.bmp"), std::string::npos) << loaded.failure;
    EXPECT_TRUE(prompts.messages.empty());
}

} // namespace
} // namespace halvera::testing
