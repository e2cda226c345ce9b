#include "measure/InspectionSummary.h"

namespace halvera {

void InspectionSummary::Add(const PictureInspection& picture) {
    if (picture.Failed())
        return;
    if (collected_.empty())
        for (const InspectedValue& value : picture.values)
            collected_.push_back({value.item, value.dataItem, {}});
    for (size_t i = 0; i < picture.values.size() && i < collected_.size(); ++i)
        if (picture.values[i].value)
            collected_[i].values.push_back(*picture.values[i].value);
}

std::vector<SummarisedValue> InspectionSummary::Summarise(const InspectionRecipe& recipe) const {
    std::vector<SummarisedValue> summary;
    for (const Collected& value : collected_) {
        const auto tolerance =
            value.dataItem >= 0 ? recipe.ToleranceOf(value.dataItem) : std::nullopt;
        summary.push_back(
            {value.item, value.dataItem, ComputeValueStatistics(value.values, tolerance)});
    }
    return summary;
}

} // namespace halvera
