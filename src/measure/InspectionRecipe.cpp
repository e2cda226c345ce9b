#include "measure/InspectionRecipe.h"

#include "measure/MeasureDataItems.h"

#include <cmath>

namespace halvera {

namespace {

constexpr RecipeKindTraits kRecipeKinds[] = {
    {RecipeItemKind::Point, "point", MeasureKind::Point, 1, false},
    {RecipeItemKind::Line, "line", MeasureKind::Line, 2, false},
    {RecipeItemKind::Circle, "circle", MeasureKind::Circle, 2, false},
    {RecipeItemKind::Rectangle, "rect", MeasureKind::Rectangle, 2, false},
    {RecipeItemKind::Angle, "angle", MeasureKind::Angle, 3, false},
    {RecipeItemKind::PointPair, "pair", MeasureKind::Point, 0, false},
    {RecipeItemKind::EdgePoint, "edge-point", MeasureKind::Point, 1, true},
    {RecipeItemKind::EdgeLine, "edge-line", MeasureKind::Line, 2, true},
    {RecipeItemKind::EdgeCircle, "edge-circle", MeasureKind::Circle, 2, true},
    {RecipeItemKind::Width, "width", MeasureKind::Line, 2, true},
    {RecipeItemKind::EdgeAngle, "edge-angle", MeasureKind::Angle, 3, true},
};

bool IsPointItem(const InspectionRecipe& recipe, int index) {
    if (index < 0 || index >= static_cast<int>(recipe.items.size()))
        return false;
    const RecipeItemKind kind = recipe.items[static_cast<size_t>(index)].kind;
    return kind == RecipeItemKind::Point || kind == RecipeItemKind::EdgePoint;
}

bool IsItemOfKind(const InspectionRecipe& recipe, int index, RecipeItemKind kind) {
    return index >= 0 && index < static_cast<int>(recipe.items.size()) &&
           recipe.items[static_cast<size_t>(index)].kind == kind;
}

std::string ItemFault(const InspectionRecipe& recipe, size_t index) {
    const RecipeItem& item = recipe.items[index];
    const std::string which = "item " + std::to_string(index + 1);
    if (item.points.size() != TraitsOf(item.kind).points)
        return which + " (" + std::string(TraitsOf(item.kind).word) + ") needs " +
               std::to_string(TraitsOf(item.kind).points) + " points";
    for (const SubPixelPoint p : item.points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return which + " has a point that is not a number";
    const int self = static_cast<int>(index);
    if (item.kind == RecipeItemKind::PointPair &&
        (!IsPointItem(recipe, item.first) || !IsPointItem(recipe, item.second) ||
         item.first == item.second || item.first > self || item.second > self))
        return which + " (pair) must name two different point items before it";
    return {};
}

std::string DatumFault(const InspectionRecipe& recipe) {
    const RecipeDatum& datum = *recipe.datum;
    if (!IsItemOfKind(recipe, datum.line, RecipeItemKind::EdgeLine))
        return "the datum's reference edge must be an edge-line item";
    if (datum.origin == datum.line ||
        !(IsItemOfKind(recipe, datum.origin, RecipeItemKind::EdgeLine) ||
          IsItemOfKind(recipe, datum.origin, RecipeItemKind::EdgePoint)))
        return "the datum's origin must be an edge-point or a second edge-line item";
    const double axisLength = std::hypot(datum.placedAxis.x, datum.placedAxis.y);
    if (!(std::abs(axisLength - 1.0) < 1e-6) || !std::isfinite(datum.placedOrigin.x) ||
        !std::isfinite(datum.placedOrigin.y))
        return "the datum's placement needs an origin and a unit axis";
    return {};
}

} // namespace

std::span<const RecipeKindTraits> RecipeKinds() {
    return kRecipeKinds;
}

const RecipeKindTraits& TraitsOf(RecipeItemKind kind) {
    return kRecipeKinds[static_cast<size_t>(kind)];
}

std::optional<RecipeItemKind> RecipeKindNamed(std::string_view word) {
    for (const RecipeKindTraits& traits : kRecipeKinds)
        if (traits.word == word)
            return traits.kind;
    return std::nullopt;
}

std::optional<ToleranceEntry> InspectionRecipe::ToleranceOf(int k) const {
    for (const RecipeTolerance& tolerance : tolerances)
        if (tolerance.item == k)
            return tolerance.entry;
    return std::nullopt;
}

std::string RecipeFault(const InspectionRecipe& recipe) {
    for (size_t index = 0; index < recipe.items.size(); ++index)
        if (std::string fault = ItemFault(recipe, index); !fault.empty())
            return fault;
    for (const RecipeTolerance& tolerance : recipe.tolerances)
        if (tolerance.item < 0 || tolerance.item >= kDataItemCount)
            return "a tolerance names data item " + std::to_string(tolerance.item) +
                   ", not one of 0..32";
    return recipe.datum ? DatumFault(recipe) : std::string();
}

} // namespace halvera
