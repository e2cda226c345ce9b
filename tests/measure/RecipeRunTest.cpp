// Running a recipe on a part that lies elsewhere: the datum is found, the
// items are placed through it and give the values of measuring the moved
// part directly, to the edge items' accuracy.
#include "measure/RecipeRun.h"

#include "RecipePlate.h"
#include "measure/InspectionDatum.h"
#include "measure/MeasureValues.h"

#include <cmath>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

struct Motion {
    SubPixelPoint shift;
    double degrees;
};

// Within the default datum radius: up to 20 pixels and 5 degrees.
constexpr Motion kNearMotions[] = {
    {{0.0, 0.0}, 0.0},   {{20.0, -20.0}, 5.0}, {{-20.0, 20.0}, -5.0},
    {{13.5, 7.25}, 2.5}, {{-8.0, -19.0}, 4.0}, {{19.0, 3.0}, -3.5},
};

DibBlock MovedPicture(const PartFrame& pose, uint64_t seed) {
    return RenderPlate(kPlatePictureWidth, kPlatePictureHeight, pose, PlateLook(seed));
}

// Every value of every item of `run` against the same item measured directly.
void ExpectSameValues(const MeasureData& run, const MeasureData& direct) {
    for (const MeasureKind kind : {MeasureKind::Point, MeasureKind::Line, MeasureKind::Circle}) {
        ASSERT_EQ(run.ItemCount(kind), direct.ItemCount(kind));
        for (int item = 0; item < run.ItemCount(kind); ++item) {
            const MeasureRow found = MeasureItemRow(run, kind, item, {});
            const MeasureRow expected = MeasureItemRow(direct, kind, item, {});
            for (int v = 0; v < found.count; ++v) {
                SCOPED_TRACE(std::string(MeasureValueNames(kind)[static_cast<size_t>(v)]));
                const auto i = static_cast<size_t>(v);
                // Lengths and positions within a tenth of a pixel, angles within a
                // hundredth of a degree, areas within what 0.05 px of radius makes.
                const double limit = kind == MeasureKind::Circle && v >= 4 ? 40.0
                                     : kind == MeasureKind::Line && v == 1 ? 0.01
                                                                           : 0.1;
                EXPECT_NEAR(found.values[i], expected.values[i], limit);
            }
        }
    }
}

TEST(RecipeRun, MovedPartGivesTheValuesOfMeasuringItDirectly) {
    for (const bool pointOrigin : {false, true}) {
        const InspectionRecipe recipe = PlateRecipe(pointOrigin);
        uint64_t seed = 7;
        for (const Motion& motion : kNearMotions) {
            SCOPED_TRACE("shift " + std::to_string(motion.shift.x) + "," +
                         std::to_string(motion.shift.y) + " turn " +
                         std::to_string(motion.degrees) +
                         (pointOrigin ? ", origin at the edge point" : ", origin at two edges"));
            const PartFrame pose = MovePlate(kPlatePlaced, motion.shift, motion.degrees);
            const DibBlock picture = MovedPicture(pose, ++seed);
            const PictureInspection run = InspectPicture(picture.dib(), recipe, {});
            ASSERT_FALSE(run.Failed()) << run.failure;
            EXPECT_TRUE(run.misses.empty());
            ExpectSameValues(run.items, MeasurePlate(picture.dib(), pose));
        }
    }
}

TEST(RecipeRun, ValuesMatchThePartsTrueSizesAndJudgeTheBore) {
    const InspectionRecipe recipe = PlateRecipe();
    const PartFrame pose = MovePlate(kPlatePlaced, {17.0, -11.0}, -4.0);
    const DibBlock picture = MovedPicture(pose, 3);
    const PictureInspection run = InspectPicture(picture.dib(), recipe, {});
    ASSERT_FALSE(run.Failed()) << run.failure;
    const CircleValues bore = MeasureSubPixelCircle(run.items.subPixel(MeasureKind::Circle)[0],
                                                    run.items.subPixel(MeasureKind::Circle)[1], {});
    EXPECT_NEAR(bore.Diameter, 2.0 * Plate::kBoreRadius, 0.1);
    const SubPixelPoint centre = pose.ToPicture(Plate::kBoreCentre);
    EXPECT_NEAR(bore.CenterX, centre.x, 0.1);
    EXPECT_NEAR(bore.CenterY, centre.y, 0.1);
    const auto lines = run.items.subPixel(MeasureKind::Line);
    const LineValues width = MeasureSubPixelLine(lines[4], lines[5], {});
    EXPECT_NEAR(width.Length, Plate::kHeight, 0.1);
    // The bore's Diameter is the one value with a tolerance.
    int judged = 0;
    for (const InspectedValue& value : run.values) {
        if (value.dataItem == 15 && value.item == kBoreItem) {
            ++judged;
            EXPECT_EQ(value.verdict, Verdict::Pass);
            ASSERT_TRUE(value.value);
            EXPECT_NEAR(*value.value, 120.0, 0.1);
        } else {
            EXPECT_EQ(value.verdict, Verdict::Unjudged) << ValueName(value);
        }
    }
    EXPECT_EQ(judged, 1);
}

TEST(RecipeRun, WiderDatumRadiusFindsAPartMovedFurther) {
    const InspectionRecipe recipe = PlateRecipe();
    const PartFrame pose = MovePlate(kPlatePlaced, {-38.0, 34.0}, 9.0);
    const DibBlock picture = MovedPicture(pose, 5);
    const PictureInspection run = InspectPicture(picture.dib(), recipe, {90.0, kDefaultSnapRadius});
    ASSERT_FALSE(run.Failed()) << run.failure;
    ExpectSameValues(run.items, MeasurePlate(picture.dib(), pose));
}

TEST(RecipeRun, DatumNotFoundFailsThePictureWithItsReason) {
    const InspectionRecipe recipe = PlateRecipe();
    const DibBlock flat =
        RenderGrey(Coverage{kPlatePictureWidth, kPlatePictureHeight,
                            std::vector<double>(kPlatePictureWidth * kPlatePictureHeight, 0.0)},
                   PlateLook());
    const PictureInspection run = InspectPicture(flat.dib(), recipe, {});
    EXPECT_TRUE(run.Failed());
    EXPECT_TRUE(run.AnyError());
    EXPECT_NE(run.failure.find("datum not found: item 2 (edge-line)"), std::string::npos)
        << run.failure;
    EXPECT_TRUE(run.values.empty());
}

TEST(RecipeRun, ItemNotFoundIsAnErrorAndTheOthersAreMeasured) {
    InspectionRecipe recipe = PlateRecipe();
    // A circle where the plate has no bore.
    recipe.items.push_back({RecipeItemKind::EdgeCircle, {{100.0, -130.0}, {130.0, -130.0}}});
    const DibBlock picture = MovedPicture(kPlatePlaced, 2);
    const PictureInspection run = InspectPicture(picture.dib(), recipe, {});
    ASSERT_FALSE(run.Failed());
    ASSERT_EQ(run.misses.size(), 1u);
    EXPECT_NE(run.misses[0].find("item 6 (edge-circle)"), std::string::npos) << run.misses[0];
    EXPECT_TRUE(run.AnyError());
    for (const InspectedValue& value : run.values)
        EXPECT_EQ(value.value.has_value(), value.item != 5) << ValueName(value);
}

TEST(RecipeRun, WithoutDatumItemsStayAtTheirPicturePositions) {
    InspectionRecipe recipe;
    recipe.items.push_back({RecipeItemKind::Point, {{10.4, 20.6}}});
    recipe.items.push_back({RecipeItemKind::Line, {{1.0, 2.0}, {31.0, 42.0}}});
    const DibBlock picture = MovedPicture(kPlatePlaced, 1);
    const PictureInspection run = InspectPicture(picture.dib(), recipe, {});
    ASSERT_FALSE(run.Failed());
    EXPECT_EQ(run.items.points()[0], (PixelPoint{10, 21}));
    EXPECT_NEAR(MeasureSubPixelLine(run.items.subPixel(MeasureKind::Line)[0],
                                    run.items.subPixel(MeasureKind::Line)[1], {})
                    .Length,
                50.0, 1e-12);
}

TEST(PartFrame, TakesPointsIntoThePartAndBack) {
    const double c = std::cos(0.3), s = std::sin(0.3);
    const PartFrame frame{{12.5, -3.0}, {c, s}};
    const SubPixelPoint p{40.0, 17.0};
    const SubPixelPoint onPart = frame.ToPart(p);
    const SubPixelPoint back = frame.ToPicture(onPart);
    EXPECT_NEAR(back.x, p.x, 1e-12);
    EXPECT_NEAR(back.y, p.y, 1e-12);
    // One step along the axis from the origin is (1, 0) on the part.
    const SubPixelPoint step = frame.ToPart({12.5 + c, -3.0 + s});
    EXPECT_NEAR(step.x, 1.0, 1e-12);
    EXPECT_NEAR(step.y, 0.0, 1e-12);
    // Two crossing edges meet at the origin; parallel ones give no frame.
    const auto crossing = FrameFromTwoEdges({0.0, 10.0}, {100.0, 10.0}, {30.0, 0.0}, {30.0, 50.0});
    ASSERT_TRUE(crossing);
    EXPECT_NEAR(crossing->origin.x, 30.0, 1e-12);
    EXPECT_NEAR(crossing->origin.y, 10.0, 1e-12);
    EXPECT_FALSE(FrameFromTwoEdges({0.0, 0.0}, {100.0, 0.0}, {0.0, 5.0}, {100.0, 5.5}));
    const auto foot = FrameFromEdgeAndPoint({0.0, 10.0}, {100.0, 10.0}, {42.0, -7.0});
    ASSERT_TRUE(foot);
    EXPECT_NEAR(foot->origin.x, 42.0, 1e-12);
    EXPECT_NEAR(foot->origin.y, 10.0, 1e-12);
}

} // namespace
} // namespace halvera::testing
