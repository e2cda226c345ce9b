// Many pictures through one recipe: results in input order whatever the
// number of workers, the CSV texts and the summary over the batch.
#include "measure/RecipeBatch.h"

#include "RecipePlate.h"
#include "measure/InspectionCsv.h"
#include "measure/InspectionSummary.h"

#include <atomic>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

// Plates lying at different places, and one flat picture where the datum is
// not found.
std::vector<DibBlock> BatchPictures() {
    std::vector<DibBlock> pictures;
    for (int i = 0; i < 6; ++i)
        pictures.push_back(
            RenderPlate(kPlatePictureWidth, kPlatePictureHeight,
                        MovePlate(kPlatePlaced, {3.0 * i - 8.0, 11.0 - 4.0 * i}, 1.5 * i - 4.0),
                        PlateLook(100 + i)));
    Coverage flat{kPlatePictureWidth, kPlatePictureHeight,
                  std::vector<double>(kPlatePictureWidth * kPlatePictureHeight, 0.0)};
    pictures.insert(pictures.begin() + 2, RenderGrey(flat, PlateLook()));
    return pictures;
}

struct BatchOutput {
    std::string csv;
    std::vector<size_t> order;
    InspectionSummary summary;
};

BatchOutput RunBatch(const InspectionRecipe& recipe, const std::vector<DibBlock>& pictures,
                     int jobs) {
    BatchOutput output;
    output.csv = InspectionCsvHeader();
    const auto load = [&](size_t index) {
        return LoadedPicture{DibBlock{}, pictures[index].dib(), {}};
    };
    InspectPictures(recipe, {}, pictures.size(), jobs, load,
                    [&](size_t index, const PictureInspection& result) {
                        output.order.push_back(index);
                        output.csv +=
                            InspectionCsvRows("p" + std::to_string(index) + ".png", recipe, result);
                        output.summary.Add(result);
                        return true;
                    });
    return output;
}

TEST(InspectionBatch, OneAndTwoWorkersGiveTheSameRowsInInputOrder) {
    const InspectionRecipe recipe = PlateRecipe();
    const std::vector<DibBlock> pictures = BatchPictures();
    const BatchOutput one = RunBatch(recipe, pictures, 1);
    const BatchOutput two = RunBatch(recipe, pictures, 2);
    const BatchOutput three = RunBatch(recipe, pictures, 3);
    EXPECT_EQ(one.csv, two.csv);
    EXPECT_EQ(one.csv, three.csv);
    const std::vector<size_t> inOrder = {0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(two.order, inOrder);
    EXPECT_NE(one.csv.find("p2.png,,,,,,,,Failed: datum not found: item 2 (edge-line)"),
              std::string::npos);
    EXPECT_NE(one.csv.find("p0.png,5 Diameter,edge-circle,bore,120.0"), std::string::npos)
        << one.csv.substr(0, 2000);
}

TEST(InspectionBatch, SummaryGivesEachValuesStatisticsOverThePartsFound) {
    const InspectionRecipe recipe = PlateRecipe();
    const std::vector<DibBlock> pictures = BatchPictures();
    const BatchOutput output = RunBatch(recipe, pictures, 2);
    const std::vector<SummarisedValue> summary = output.summary.Summarise(recipe);
    const auto diameter = std::find_if(summary.begin(), summary.end(), [](const auto& v) {
        return v.item == kBoreItem && v.dataItem == 15;
    });
    ASSERT_NE(diameter, summary.end());
    EXPECT_EQ(diameter->statistics.n, 6); // the flat picture has none
    EXPECT_NEAR(diameter->statistics.mean, 120.0, 0.05);
    EXPECT_LT(diameter->statistics.sd, 0.05);
    EXPECT_TRUE(diameter->statistics.cp);
    const std::string csv = InspectionSummaryCsv(recipe, summary);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "Item,Kind,Name,n,mean,sd,min,max,Cp,Cpk");
    EXPECT_NE(csv.find("\n5 Diameter,edge-circle,bore,6,1"), std::string::npos) << csv;
}

TEST(InspectionBatch, ReportingFalseStopsTheBatch) {
    const InspectionRecipe recipe = PlateRecipe();
    const std::vector<DibBlock> pictures = BatchPictures();
    std::atomic<size_t> loaded{0};
    std::vector<size_t> reported;
    const bool finished = InspectPictures(
        recipe, {}, 1000, 2,
        [&](size_t index) {
            ++loaded;
            return LoadedPicture{DibBlock{}, pictures[index % pictures.size()].dib(), {}};
        },
        [&](size_t index, const PictureInspection&) {
            reported.push_back(index);
            return index < 1;
        });
    EXPECT_FALSE(finished);
    EXPECT_EQ(reported, (std::vector<size_t>{0, 1}));
    // The workers stay within two pictures each of the one reported.
    EXPECT_LE(loaded.load(), 6u);
}

TEST(InspectionBatch, APictureThatCannotBeLoadedFailsAlone) {
    const InspectionRecipe recipe = PlateRecipe();
    const std::vector<DibBlock> pictures = BatchPictures();
    std::vector<std::string> failures;
    InspectPictures(
        recipe, {}, 2, 2,
        [&](size_t index) {
            return index == 0 ? LoadedPicture{DibBlock{}, {}, "Can not read the file!"}
                              : LoadedPicture{DibBlock{}, pictures[0].dib(), {}};
        },
        [&](size_t, const PictureInspection& result) {
            failures.push_back(result.failure);
            return true;
        });
    EXPECT_EQ(failures, (std::vector<std::string>{"Can not read the file!", ""}));
}

TEST(InspectionCsv, QuotesFieldsThatNeedIt) {
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
}

} // namespace
} // namespace halvera::testing
