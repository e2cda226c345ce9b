#include "measure/RecipeFile.h"

#include "measure/ResultExport.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace halvera {

namespace {

using Json = nlohmann::json;

// A field that is missing or out of range; its text is the refusal.
struct FieldFault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Json PointJson(SubPixelPoint p) {
    return Json::array({p.x, p.y});
}

Json CalibrationJson(const CalibrationRecord& c) {
    return {{"unit", c.unit},
            {"realX", c.realX},
            {"realY", c.realY},
            {"pixelX", c.pixelWidth},
            {"pixelY", c.pixelHeight}};
}

Json ItemJson(const RecipeItem& item) {
    Json json = {{"kind", TraitsOf(item.kind).word}};
    if (!item.name.empty())
        json["name"] = item.name;
    if (item.kind == RecipeItemKind::PointPair) {
        json["items"] = {item.first + 1, item.second + 1};
        return json;
    }
    json["points"] = Json::array();
    for (const SubPixelPoint p : item.points)
        json["points"].push_back(PointJson(p));
    return json;
}

const Json& Field(const Json& object, const char* name) {
    if (!object.is_object() || !object.contains(name))
        throw FieldFault(std::string("the field \"") + name + "\" is missing");
    return object.at(name);
}

double Real(const Json& value, const char* what) {
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        throw FieldFault(std::string(what) + " must be a number");
    return value.get<double>();
}

int Whole(const Json& value, const char* what, int lowest, int highest) {
    if (!value.is_number_integer() || value.get<int64_t>() < lowest ||
        value.get<int64_t>() > highest)
        throw FieldFault(std::string(what) + " must be a whole number in " +
                         std::to_string(lowest) + ".." + std::to_string(highest));
    return static_cast<int>(value.get<int64_t>());
}

SubPixelPoint PointOf(const Json& value, const char* what) {
    if (!value.is_array() || value.size() != 2)
        throw FieldFault(std::string(what) + " must be a pair of numbers [x, y]");
    return {Real(value[0], what), Real(value[1], what)};
}

// The limits the Calibrate panel keeps a calibration within.
CalibrationRecord CalibrationOf(const Json& json) {
    CalibrationRecord c;
    c.unit = Whole(Field(json, "unit"), "the calibration's unit", 0, 4);
    c.realX = Real(Field(json, "realX"), "the calibration's realX");
    c.realY = Real(Field(json, "realY"), "the calibration's realY");
    c.pixelWidth = Whole(Field(json, "pixelX"), "the calibration's pixelX", 1, 2000);
    c.pixelHeight = Whole(Field(json, "pixelY"), "the calibration's pixelY", 1, 2000);
    if (!(c.realX > 0.0 && c.realX <= 2000.0 && c.realY > 0.0 && c.realY <= 2000.0))
        throw FieldFault("the calibration's real sizes must lie above 0 and at most 2000");
    return c;
}

// The preset's name is optional: files without it are read as before.
std::string PresetOf(const Json& calibration) {
    const auto preset = calibration.find("preset");
    if (preset == calibration.end())
        return {};
    if (!preset->is_string())
        throw FieldFault("the calibration's preset must be a text");
    return preset->get<std::string>();
}

std::vector<RecipeTolerance> TolerancesOf(const Json& json) {
    if (!json.is_array())
        throw FieldFault("\"tolerances\" must be a list");
    std::vector<RecipeTolerance> tolerances;
    for (const Json& entry : json)
        tolerances.push_back({Whole(Field(entry, "item"), "a tolerance's item", 0, 32),
                              {Real(Field(entry, "standard"), "a tolerance's standard"),
                               Real(Field(entry, "upper"), "a tolerance's upper limit"),
                               Real(Field(entry, "lower"), "a tolerance's lower limit")}});
    return tolerances;
}

OutputSelection OutputOf(const Json& json) {
    if (!json.is_array())
        throw FieldFault("\"output\" must be a list of data item numbers");
    OutputSelection output = OutputSelection::NoItems();
    for (const Json& k : json)
        output.add(Whole(k, "an output item", 0, 32));
    return output;
}

RecipeItem ItemOf(const Json& json, int itemCount) {
    RecipeItem item;
    const Json& kind = Field(json, "kind");
    const auto named = kind.is_string() ? RecipeKindNamed(kind.get<std::string>()) : std::nullopt;
    if (!named)
        throw FieldFault("an item has an unknown kind " + kind.dump());
    item.kind = *named;
    if (json.contains("name")) {
        if (!json["name"].is_string())
            throw FieldFault("an item's name must be a text");
        item.name = json["name"].get<std::string>();
    }
    if (item.kind == RecipeItemKind::PointPair) {
        const Json& points = Field(json, "items");
        if (!points.is_array() || points.size() != 2)
            throw FieldFault("a pair needs \"items\": [I, J]");
        item.first = Whole(points[0], "a pair's item", 1, itemCount) - 1;
        item.second = Whole(points[1], "a pair's item", 1, itemCount) - 1;
        return item;
    }
    const Json& points = Field(json, "points");
    if (!points.is_array())
        throw FieldFault("an item's \"points\" must be a list");
    for (const Json& p : points)
        item.points.push_back(PointOf(p, "an item's point"));
    return item;
}

RecipeDatum DatumOf(const Json& json, int itemCount) {
    RecipeDatum datum;
    datum.line = Whole(Field(json, "line"), "the datum's line", 1, itemCount) - 1;
    datum.origin = Whole(Field(json, "origin"), "the datum's origin", 1, itemCount) - 1;
    datum.placedOrigin = PointOf(Field(json, "placedOrigin"), "the datum's placedOrigin");
    datum.placedAxis = PointOf(Field(json, "placedAxis"), "the datum's placedAxis");
    return datum;
}

void CheckHeader(const Json& json) {
    const Json& format = Field(json, "format");
    if (!format.is_string() || format.get<std::string>() != kRecipeFormat)
        throw FieldFault("it is not a recipe (\"format\" is not \"halvera-recipe\")");
    const Json& version = Field(json, "version");
    if (!version.is_number_integer() || version.get<int64_t>() < 1)
        throw FieldFault("its \"version\" must be a whole number from 1");
    if (version.get<int64_t>() > kRecipeVersion)
        throw FieldFault("it was written by a later version of Halvera (recipe version " +
                         version.dump() + "; this one reads version 1)");
}

InspectionRecipe RecipeOf(const Json& json) {
    CheckHeader(json);
    InspectionRecipe recipe;
    recipe.calibration = CalibrationOf(Field(json, "calibration"));
    recipe.preset = PresetOf(Field(json, "calibration"));
    recipe.tolerances = TolerancesOf(Field(json, "tolerances"));
    recipe.output = OutputOf(Field(json, "output"));
    const Json& items = Field(json, "items");
    if (!items.is_array())
        throw FieldFault("\"items\" must be a list");
    const int itemCount = static_cast<int>(items.size());
    for (const Json& item : items)
        recipe.items.push_back(ItemOf(item, itemCount));
    if (json.contains("datum") && !json["datum"].is_null())
        recipe.datum = DatumOf(json["datum"], itemCount);
    if (const std::string fault = RecipeFault(recipe); !fault.empty())
        throw FieldFault(fault);
    return recipe;
}

} // namespace

std::string RecipeText(const InspectionRecipe& recipe) {
    Json json = {{"format", kRecipeFormat}, {"version", kRecipeVersion}};
    json["calibration"] = CalibrationJson(recipe.calibration);
    // Optional, so that every reader of version 1 still reads the file.
    if (!recipe.preset.empty())
        json["calibration"]["preset"] = recipe.preset;
    json["tolerances"] = Json::array();
    for (const RecipeTolerance& t : recipe.tolerances)
        json["tolerances"].push_back({{"item", t.item},
                                      {"standard", t.entry.standard},
                                      {"upper", t.entry.upper},
                                      {"lower", t.entry.lower}});
    // In the order the user picked them, as a .Itm file keeps them.
    json["output"] = recipe.output.items();
    if (recipe.datum)
        json["datum"] = {{"line", recipe.datum->line + 1},
                         {"origin", recipe.datum->origin + 1},
                         {"placedOrigin", PointJson(recipe.datum->placedOrigin)},
                         {"placedAxis", PointJson(recipe.datum->placedAxis)}};
    json["items"] = Json::array();
    for (const RecipeItem& item : recipe.items)
        json["items"].push_back(ItemJson(item));
    return json.dump(2) + "\n";
}

RecipeRead ParseRecipe(std::string_view text) {
    const Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded())
        return {std::nullopt, "it is not a recipe (not JSON)"};
    try {
        return {RecipeOf(json), {}};
    } catch (const FieldFault& fault) {
        return {std::nullopt, fault.what()};
    }
}

RecipeRead ReadRecipeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {std::nullopt, "it can not be opened"};
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ParseRecipe(text);
}

bool WriteRecipeFile(const std::string& path, const InspectionRecipe& recipe) {
    return WriteResultFile(path, RecipeText(recipe));
}

} // namespace halvera
