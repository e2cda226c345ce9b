#include "measure/AcrossImagesTable.h"

#include "measure/InspectionCsv.h"
#include "measure/MeasureNumber.h"

namespace halvera {

namespace {

std::string ItemText(const InspectionRecipe& recipe, int item, int dataItem) {
    const std::string& name = recipe.items[static_cast<size_t>(item)].name;
    const std::string label = ValueLabel(item, dataItem);
    return name.empty() ? label : label + " (" + name + ")";
}

std::string Statistic(double value) {
    return FormatDecimals(value, kStatisticDecimals);
}

std::string Optional(const std::optional<double>& value) {
    return value ? Statistic(*value) : std::string();
}

} // namespace

std::vector<AcrossImagesRow> AcrossImagesRows(std::string_view image,
                                              const InspectionRecipe& recipe,
                                              const PictureInspection& result) {
    const std::string imageText(image);
    if (result.Failed())
        return {{imageText, "", "", "Failed: " + result.failure}};
    std::vector<AcrossImagesRow> rows;
    for (const InspectedValue& value : result.values)
        rows.push_back({imageText, ItemText(recipe, value.item, value.dataItem),
                        value.value ? FormatMeasureValue(*value.value) : std::string(),
                        std::string(VerdictText(value.verdict))});
    return rows;
}

std::vector<SummaryRow> SummaryRows(const InspectionRecipe& recipe,
                                    const std::vector<SummarisedValue>& summary) {
    std::vector<SummaryRow> rows;
    for (const SummarisedValue& value : summary) {
        const ValueStatistics& s = value.statistics;
        const auto number = [&s](double v) {
            return s.n > 0 ? Statistic(v) : std::string();
        };
        rows.push_back({ItemText(recipe, value.item, value.dataItem), std::to_string(s.n),
                        number(s.mean), number(s.sd), number(s.min), number(s.max), Optional(s.cp),
                        Optional(s.cpk)});
    }
    return rows;
}

} // namespace halvera
