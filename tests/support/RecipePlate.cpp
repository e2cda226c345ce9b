#include "RecipePlate.h"

#include "measure/CircularEdge.h"
#include "measure/EdgePoint.h"
#include "measure/EdgeWidth.h"
#include "measure/StraightEdge.h"

#include <gtest/gtest.h>

namespace halvera::testing {

namespace {

constexpr double kRadius = 8.0;
constexpr int kDiameter = 15;

} // namespace

Look PlateLook(uint64_t seed) {
    Look look;
    look.inside = 200.0;
    look.outside = 40.0;
    look.blur = 1.0;
    look.noise = 1.0;
    look.seed = seed;
    return look;
}

MeasureData MeasurePlate(CDibImage picture, const PartFrame& pose) {
    const auto at = [&](double x, double y) {
        return pose.ToPicture({x, y});
    };
    MeasureData data;
    const auto point = FindEdgePoint(picture, at(Plate::kLength, -200.0), kRadius);
    const auto bottom = FindStraightEdge(picture, at(40.0, 0.0), at(220.0, 0.0), kRadius);
    const auto left = FindStraightEdge(picture, at(0.0, -30.0), at(0.0, -200.0), kRadius);
    const auto width = MeasureEdgeWidth(picture, at(120.0, 15.0), at(120.0, -275.0), kRadius);
    const auto bore =
        FindCircularEdge(picture, pose.ToPicture(Plate::kBoreCentre), Plate::kBoreRadius, kRadius);
    EXPECT_TRUE(point && bottom && left && width && bore);
    if (!(point && bottom && left && width && bore))
        return data;
    data.AppendEdgePoint(*point);
    data.AppendEdgeLine(bottom->start, bottom->end, bottom->line.residual);
    data.AppendEdgeLine(left->start, left->end, left->line.residual);
    data.AppendEdgeLine(width->start, width->end, width->residual);
    data.AppendEdgeCircle(bore->centre, {bore->centre.x + bore->radius, bore->centre.y},
                          bore->residual);
    return data;
}

InspectionRecipe PlateRecipe(bool pointOrigin) {
    const DibBlock picture =
        RenderPlate(kPlatePictureWidth, kPlatePictureHeight, kPlatePlaced, PlateLook());
    std::vector<RecipeItem> items =
        RecipeItemsOf(MeasurePlate(picture.dib(), kPlatePlaced), picture.dib());
    items[static_cast<size_t>(kBoreItem)].name = "bore";
    RecipeSettings settings;
    settings.tolerances.push_back({kDiameter, {120.0, 0.1, -0.1}});
    const MadeRecipe made = MakeRecipe(
        items, DatumChoice{kBottomEdgeItem, pointOrigin ? kRightSideItem : kLeftSideItem},
        settings);
    EXPECT_TRUE(made.recipe) << made.problem;
    return made.recipe.value_or(InspectionRecipe{});
}

} // namespace halvera::testing
