#include "measure/InspectionCsv.h"

#include "measure/MeasureDataItems.h"
#include "measure/MeasureNumber.h"

namespace halvera {

namespace {

std::string Optional(const std::optional<double>& value, int decimals) {
    return value ? FormatDecimals(*value, decimals) : std::string();
}

std::string Line(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields) {
        if (&field != fields.begin())
            line += ',';
        line += CsvField(field);
    }
    return line + "\n";
}

const RecipeItem& ItemOf(const InspectionRecipe& recipe, int item) {
    return recipe.items[static_cast<size_t>(item)];
}

std::string KindWord(const InspectionRecipe& recipe, int item) {
    return std::string(TraitsOf(ItemOf(recipe, item).kind).word);
}

} // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string ValueLabel(int item, int dataItem) {
    const std::string_view name = dataItem < 0 ? "Distance" : DataItem(dataItem).value;
    return std::to_string(item + 1) + " " + std::string(name);
}

std::string ValueLabel(const InspectedValue& value) {
    return ValueLabel(value.item, value.dataItem);
}

std::string InspectionCsvHeader() {
    return "Image,Item,Kind,Name,Value,Standard,Upper,Lower,Verdict\n";
}

std::string InspectionCsvRows(std::string_view image, const InspectionRecipe& recipe,
                              const PictureInspection& result) {
    if (result.Failed())
        return Line({std::string(image), "", "", "", "", "", "", "", "Failed: " + result.failure});
    std::string rows;
    for (const InspectedValue& value : result.values) {
        const auto& t = value.tolerance;
        rows += Line({std::string(image), ValueLabel(value), KindWord(recipe, value.item),
                      ItemOf(recipe, value.item).name,
                      value.value ? FormatMeasureValue(*value.value) : std::string(),
                      t ? FormatMeasureValue(t->standard) : std::string(),
                      t ? FormatMeasureValue(t->upper) : std::string(),
                      t ? FormatMeasureValue(t->lower) : std::string(),
                      std::string(VerdictText(value.verdict))});
    }
    return rows;
}

std::string InspectionSummaryCsv(const InspectionRecipe& recipe,
                                 const std::vector<SummarisedValue>& summary) {
    std::string text = "Item,Kind,Name,n,mean,sd,min,max,Cp,Cpk\n";
    for (const SummarisedValue& value : summary) {
        const ValueStatistics& s = value.statistics;
        const bool any = s.n > 0;
        const auto number = [&](double v) {
            return any ? FormatDecimals(v, kStatisticDecimals) : std::string();
        };
        text += Line({ValueLabel(value.item, value.dataItem), KindWord(recipe, value.item),
                      ItemOf(recipe, value.item).name, std::to_string(s.n), number(s.mean),
                      number(s.sd), number(s.min), number(s.max),
                      Optional(s.cp, kStatisticDecimals), Optional(s.cpk, kStatisticDecimals)});
    }
    return text;
}

} // namespace halvera
