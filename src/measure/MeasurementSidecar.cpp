#include "measure/MeasurementSidecar.h"

#include "measure/MeasureDataItems.h"
#include "measure/ResultExport.h"
#include "measure/RulerCalibration.h"

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <vector>

namespace halvera {

namespace {

using Json = nlohmann::json;

constexpr std::string_view kFormat = "halvera-measurements";
constexpr int kVersion = 1;
constexpr std::string_view kPointPairKind = "point-pair";
// The kinds of items, by MeasureKind, as the file names them.
constexpr std::array<std::string_view, kMeasureKindCount> kKindNames = {"point", "line", "circle",
                                                                        "rectangle", "angle"};
// Coordinates far beyond any picture are refused, so that every element has
// a whole pixel covering it.
constexpr double kLargestCoordinate = 1.0e9;

// Why a file is refused; caught where the parse starts.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string_view KindName(MeasureKind kind) {
    return kKindNames[static_cast<size_t>(kind)];
}

Json CalibrationJson(const NamedCalibration& calibration) {
    const CalibrationRecord& record = calibration.record;
    return {{"preset", calibration.preset}, {"unit", RulerUnitName(record.unit)},
            {"realX", record.realX},        {"realY", record.realY},
            {"pixelX", record.pixelWidth},  {"pixelY", record.pixelHeight}};
}

Json ElementsJson(std::span<const SubPixelPoint> elements) {
    Json list = Json::array();
    for (const SubPixelPoint& element : elements)
        list.push_back({element.x, element.y});
    return list;
}

void AppendShapeItems(Json& items, const MeasureData& data, MeasureKind kind) {
    const size_t perItem = ElementsPerItemOf(kind);
    const std::span<const SubPixelPoint> elements = data.subPixel(kind);
    for (int item = 0; item < data.ItemCount(kind); ++item) {
        Json entry = {{"kind", KindName(kind)},
                      {"at", ElementsJson(elements.subspan(item * perItem, perItem))}};
        const EdgeFit fit = data.edgeFit(kind, item);
        if (fit.measured)
            entry["edgeResidual"] = fit.residual;
        items.push_back(std::move(entry));
    }
}

Json ItemsJson(const MeasureData& data) {
    Json items = Json::array();
    for (MeasureKind kind : kAllMeasureKinds) {
        if (kind != MeasureKind::Rectangle)
            AppendShapeItems(items, data, kind);
    }
    for (const PixelRect& r : data.rectangles())
        items.push_back({{"kind", KindName(MeasureKind::Rectangle)},
                         {"corners", {r.left, r.top, r.right, r.bottom}}});
    const std::span<const int32_t> pairs = data.pointPairs();
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        items.push_back({{"kind", kPointPairKind}, {"points", {pairs[i], pairs[i + 1]}}});
    return items;
}

const Json& Field(const Json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end())
        throw Refusal(std::string("no \"") + name + "\"");
    return *found;
}

double RealIn(const Json& value, const char* name, double lowest, double highest) {
    if (!value.is_number() || !(value.get<double>() >= lowest && value.get<double>() <= highest))
        throw Refusal(std::string("\"") + name + "\" is out of range");
    return value.get<double>();
}

int32_t WholeIn(const Json& value, const char* name, int32_t lowest, int32_t highest) {
    if (!value.is_number_integer() || value.get<int64_t>() < lowest ||
        value.get<int64_t>() > highest)
        throw Refusal(std::string("\"") + name + "\" is out of range");
    return static_cast<int32_t>(value.get<int64_t>());
}

std::string TextOf(const Json& value, const char* name) {
    if (!value.is_string())
        throw Refusal(std::string("\"") + name + "\" is not a text");
    return value.get<std::string>();
}

int32_t UnitNamed(const std::string& name) {
    for (int unit = 0; unit < kRulerUnitCount; ++unit)
        if (RulerUnitName(unit) == name)
            return unit;
    throw Refusal("unknown unit \"" + name + "\"");
}

NamedCalibration CalibrationFrom(const Json& json) {
    if (!json.is_object())
        throw Refusal("\"calibration\" is not an object");
    NamedCalibration calibration;
    calibration.preset = TextOf(Field(json, "preset"), "preset");
    CalibrationRecord& record = calibration.record;
    record.unit = UnitNamed(TextOf(Field(json, "unit"), "unit"));
    record.realX = RealIn(Field(json, "realX"), "realX", 1e-300, 2000.0);
    record.realY = RealIn(Field(json, "realY"), "realY", 1e-300, 2000.0);
    record.pixelWidth = WholeIn(Field(json, "pixelX"), "pixelX", 1, 2000);
    record.pixelHeight = WholeIn(Field(json, "pixelY"), "pixelY", 1, 2000);
    return calibration;
}

std::vector<SubPixelPoint> ElementsFrom(const Json& json) {
    if (!json.is_array())
        throw Refusal("\"at\" is not a list");
    std::vector<SubPixelPoint> elements;
    for (const Json& point : json) {
        if (!point.is_array() || point.size() != 2)
            throw Refusal("an element is not a pair of numbers");
        elements.push_back({RealIn(point[0], "at", -kLargestCoordinate, kLargestCoordinate),
                            RealIn(point[1], "at", -kLargestCoordinate, kLargestCoordinate)});
    }
    return elements;
}

EdgeFit FitFrom(const Json& item) {
    const auto residual = item.find("edgeResidual");
    if (residual == item.end())
        return {};
    return {true, RealIn(*residual, "edgeResidual", 0.0, kLargestCoordinate)};
}

PixelRect RectangleFrom(const Json& corners) {
    if (!corners.is_array() || corners.size() != 4)
        throw Refusal("\"corners\" is not four numbers");
    const auto corner = [&](size_t i) {
        return WholeIn(corners[i], "corners", -1000000000, 1000000000);
    };
    return {corner(0), corner(1), corner(2), corner(3)};
}

std::optional<MeasureKind> ShapeKindNamed(const std::string& name) {
    for (MeasureKind kind : kAllMeasureKinds)
        if (KindName(kind) == name)
            return kind;
    return std::nullopt;
}

// Items of every kind, then the point pairs, which name points by their index.
MeasureData ItemsFrom(const Json& json) {
    if (!json.is_array())
        throw Refusal("\"items\" is not a list");
    MeasureData data;
    std::vector<std::array<int32_t, 2>> pairs;
    for (const Json& item : json) {
        if (!item.is_object())
            throw Refusal("an item is not an object");
        const std::string kindName = TextOf(Field(item, "kind"), "kind");
        if (kindName == kPointPairKind) {
            const Json& points = Field(item, "points");
            if (!points.is_array() || points.size() != 2)
                throw Refusal("\"points\" is not two numbers");
            pairs.push_back({WholeIn(points[0], "points", 0, INT32_MAX),
                             WholeIn(points[1], "points", 0, INT32_MAX)});
            continue;
        }
        const std::optional<MeasureKind> kind = ShapeKindNamed(kindName);
        if (!kind)
            throw Refusal("unknown kind of item \"" + kindName + "\"");
        const bool restored =
            *kind == MeasureKind::Rectangle
                ? data.RestoreRectangle(RectangleFrom(Field(item, "corners")))
                : data.RestoreItem(*kind, ElementsFrom(Field(item, "at")), FitFrom(item));
        if (!restored)
            throw Refusal("a " + kindName + " item has the wrong shape");
    }
    for (const auto& [first, second] : pairs)
        if (!data.AppendPointPair(first, second))
            throw Refusal("a point pair names no stored points");
    return data;
}

void CheckHeader(const Json& json) {
    if (!json.is_object())
        throw Refusal("not a measurement file");
    const Json& format = Field(json, "format");
    if (!format.is_string() || format.get<std::string>() != kFormat)
        throw Refusal("not a measurement file");
    const Json& version = Field(json, "version");
    if (!version.is_number_integer() || version.get<int64_t>() < 1)
        throw Refusal("no version");
    if (version.get<int64_t>() > kVersion)
        throw Refusal("version " + std::to_string(version.get<int64_t>()) +
                      " is newer than this program reads");
}

} // namespace

std::string MeasurementSidecarPath(const std::string& imagePath) {
    return imagePath + ".measure.json";
}

std::string MeasurementSidecarText(const MeasurementRecord& record) {
    const Json json = {{"format", kFormat},
                       {"version", kVersion},
                       {"image", record.image},
                       {"calibration", CalibrationJson(record.calibration)},
                       {"items", ItemsJson(record.items)}};
    return json.dump(2) + "\n";
}

MeasurementFileRead ParseMeasurementSidecar(std::string_view text) {
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded())
        return {std::nullopt, "not valid JSON"};
    try {
        CheckHeader(json);
        MeasurementRecord record;
        const auto image = json.find("image");
        if (image != json.end())
            record.image = TextOf(*image, "image");
        record.calibration = CalibrationFrom(Field(json, "calibration"));
        record.items = ItemsFrom(Field(json, "items"));
        return {std::move(record), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.what()};
    }
}

MeasurementFileRead ReadMeasurementSidecar(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {std::nullopt, "cannot be opened"};
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ParseMeasurementSidecar(text);
}

bool WriteMeasurementSidecar(const std::string& path, const MeasurementRecord& record) {
    return WriteResultFile(path, MeasurementSidecarText(record));
}

} // namespace halvera
