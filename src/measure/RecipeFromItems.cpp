#include "measure/RecipeFromItems.h"

#include "measure/EdgeSearch.h"
#include "measure/EdgeWidth.h"
#include "measure/MeasureDataItems.h"
#include "measure/PartFrame.h"

#include <cmath>

namespace halvera {

namespace {

// How far a width's segment reaches past each of its edges in a recipe.
constexpr double kWidthMargin = 6.0;
// How close a width measured again must come to the stored one to be it.
constexpr double kSameWidthDistance = 0.5;

double Distance(SubPixelPoint a, SubPixelPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

std::vector<SubPixelPoint> ItemPoints(std::span<const SubPixelPoint> elements, int item,
                                      size_t perItem) {
    const auto first = elements.begin() + static_cast<ptrdiff_t>(item * perItem);
    return {first, first + static_cast<ptrdiff_t>(perItem)};
}

bool IsWidth(CDibImage picture, SubPixelPoint start, SubPixelPoint end) {
    if (picture.empty())
        return false;
    const double length = Distance(start, end);
    const SubPixelPoint step{(end.x - start.x) / length * kWidthMargin,
                             (end.y - start.y) / length * kWidthMargin};
    const auto width = MeasureEdgeWidth(picture, {start.x - step.x, start.y - step.y},
                                        {end.x + step.x, end.y + step.y}, kDefaultSnapRadius);
    return width && Distance(width->start, start) < kSameWidthDistance &&
           Distance(width->end, end) < kSameWidthDistance;
}

RecipeItemKind LineKind(const MeasureData& data, int item, CDibImage picture,
                        const std::vector<SubPixelPoint>& points) {
    if (!data.edgeFit(MeasureKind::Line, item).measured)
        return RecipeItemKind::Line;
    return IsWidth(picture, points[0], points[1]) ? RecipeItemKind::Width
                                                  : RecipeItemKind::EdgeLine;
}

void AddKind(std::vector<RecipeItem>& items, const MeasureData& data, MeasureKind kind,
             CDibImage picture) {
    constexpr RecipeItemKind kClicked[] = {RecipeItemKind::Point, RecipeItemKind::Line,
                                           RecipeItemKind::Circle, RecipeItemKind::Rectangle,
                                           RecipeItemKind::Angle};
    constexpr RecipeItemKind kOnEdges[] = {RecipeItemKind::EdgePoint, RecipeItemKind::EdgeLine,
                                           RecipeItemKind::EdgeCircle, RecipeItemKind::Rectangle,
                                           RecipeItemKind::EdgeAngle};
    const size_t perItem = TraitsOf(kClicked[static_cast<int>(kind)]).points;
    for (int item = 0; item < data.ItemCount(kind); ++item) {
        RecipeItem recipeItem;
        recipeItem.points = ItemPoints(data.subPixel(kind), item, perItem);
        const bool onEdges = data.edgeFit(kind, item).measured;
        recipeItem.kind = kind == MeasureKind::Line
                              ? LineKind(data, item, picture, recipeItem.points)
                          : onEdges ? kOnEdges[static_cast<int>(kind)]
                                    : kClicked[static_cast<int>(kind)];
        items.push_back(std::move(recipeItem));
    }
}

void AddRectangles(std::vector<RecipeItem>& items, const MeasureData& data) {
    for (const PixelRect& r : data.rectangles())
        items.push_back({RecipeItemKind::Rectangle,
                         {ExactPoint({r.left, r.top}), ExactPoint({r.right, r.bottom})}});
}

// Pairs name points, which come first in the list, so a point's index is
// its item number.
void AddPairs(std::vector<RecipeItem>& items, const MeasureData& data) {
    const auto pairs = data.pointPairs();
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        items.push_back({RecipeItemKind::PointPair, {}, pairs[i], pairs[i + 1]});
}

void LengthenWidth(RecipeItem& item) {
    SubPixelPoint& start = item.points[0];
    SubPixelPoint& end = item.points[1];
    const double length = Distance(start, end);
    if (!(length > 0.0))
        return;
    const SubPixelPoint step{(end.x - start.x) / length * kWidthMargin,
                             (end.y - start.y) / length * kWidthMargin};
    start = {start.x - step.x, start.y - step.y};
    end = {end.x + step.x, end.y + step.y};
}

std::optional<PartFrame> FrameOfDatum(const std::vector<RecipeItem>& items,
                                      const DatumChoice& datum) {
    const RecipeItem& line = items[static_cast<size_t>(datum.line)];
    const RecipeItem& origin = items[static_cast<size_t>(datum.origin)];
    if (origin.kind == RecipeItemKind::EdgePoint)
        return FrameFromEdgeAndPoint(line.points[0], line.points[1], origin.points[0]);
    return FrameFromTwoEdges(line.points[0], line.points[1], origin.points[0], origin.points[1]);
}

} // namespace

std::vector<RecipeItem> RecipeItemsOf(const MeasureData& data, CDibImage picture) {
    std::vector<RecipeItem> items;
    for (const MeasureKind kind : {MeasureKind::Point, MeasureKind::Line, MeasureKind::Circle})
        AddKind(items, data, kind, picture);
    AddKind(items, data, MeasureKind::Angle, picture);
    AddRectangles(items, data);
    AddPairs(items, data);
    return items;
}

std::vector<RecipeTolerance> TolerancesInUse(const ToleranceTable& table) {
    std::vector<RecipeTolerance> inUse;
    for (int k = 0; k < kDataItemCount; ++k)
        if (EntryInUse(table.entries[static_cast<size_t>(k)]))
            inUse.push_back({k, table.entries[static_cast<size_t>(k)]});
    return inUse;
}

MadeRecipe MakeRecipe(std::vector<RecipeItem> items, const std::optional<DatumChoice>& datum,
                      const RecipeSettings& settings) {
    InspectionRecipe recipe{settings.calibration, settings.tolerances, settings.output,
                            std::nullopt,         std::move(items),    settings.preset};
    for (RecipeItem& item : recipe.items)
        if (item.kind == RecipeItemKind::Width)
            LengthenWidth(item);
    if (datum)
        recipe.datum = RecipeDatum{datum->line, datum->origin, {}, {1.0, 0.0}};
    if (std::string fault = RecipeFault(recipe); !fault.empty())
        return {std::nullopt, std::move(fault)};
    if (!datum)
        return {std::move(recipe), {}};
    const std::optional<PartFrame> frame = FrameOfDatum(recipe.items, *datum);
    if (!frame)
        return {std::nullopt, "the datum's two edges run side by side"};
    recipe.datum->placedOrigin = frame->origin;
    recipe.datum->placedAxis = frame->axis;
    for (RecipeItem& item : recipe.items)
        for (SubPixelPoint& p : item.points)
            p = frame->ToPart(p);
    return {std::move(recipe), {}};
}

} // namespace halvera
