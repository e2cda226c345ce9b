#include "cli/MeasureCommand.h"

#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/EdgeMeasureItems.h"
#include "cli/MeasureResultOptions.h"
#include "measure/CalFile.h"
#include "measure/MeasureLabels.h"
#include "measure/MeasureNumber.h"
#include "measure/MeasureValues.h"
#include "measure/ThreePointCircle.h"
#include "platform/UserPrompts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace halvera {

namespace {

// Item coordinates are image pixels; the bound keeps every window position
// the labels derive from them inside 32-bit arithmetic.
constexpr int32_t kMaxItemCoordinate = 1000000000;

std::optional<int32_t> ParseCoordinate(std::string_view text) {
    const std::optional<int> value = ParseInteger(text);
    if (!value || *value < -kMaxItemCoordinate || *value > kMaxItemCoordinate)
        return std::nullopt;
    return *value;
}

// The `count` comma-separated whole numbers of `text`, or a usage error naming `what`.
std::vector<int32_t> Coordinates(std::string_view what, std::string_view text, size_t count) {
    const std::vector<std::string_view> fields = SplitFields(text, ',');
    std::vector<int32_t> values;
    for (const std::string_view field : fields)
        if (const auto value = ParseCoordinate(field))
            values.push_back(*value);
    if (fields.size() != count || values.size() != count)
        throw UsageError(std::string(what) + " needs " + std::to_string(count) +
                         " comma-separated whole numbers, not '" + std::string(text) + "'");
    return values;
}

PixelPoint At(const std::vector<int32_t>& v, size_t i) {
    return {v[2 * i], v[2 * i + 1]};
}

struct ItemKind {
    std::string_view prefix;
    size_t numbers;
    void (*append)(MeasureData& data, const std::vector<int32_t>& v);
};

constexpr ItemKind kItemKinds[] = {
    {"point", 2,
     [](MeasureData& d, const std::vector<int32_t>& v) {
         d.AppendPoint(At(v, 0));
     }},
    {"line", 4,
     [](MeasureData& d, const std::vector<int32_t>& v) {
         d.AppendLine(At(v, 0), At(v, 1));
     }},
    {"circle", 4,
     [](MeasureData& d, const std::vector<int32_t>& v) {
         d.AppendCircle(At(v, 0), At(v, 1));
     }},
    {"circle3", 6,
     [](MeasureData& d, const std::vector<int32_t>& v) {
         if (const auto circle = FitThreePointCircle(At(v, 0), At(v, 1), At(v, 2)))
             d.AppendCircle(circle->centre, circle->onCircle);
     }},
    {"rect", 4,
     [](MeasureData& d, const std::vector<int32_t>& v) {
         d.AppendRectangle({v[0], v[1], v[2], v[3]});
     }},
    {"angle", 6,
     [](MeasureData& d, const std::vector<int32_t>& v) {
         d.AppendAngle(At(v, 0), At(v, 1), At(v, 2));
     }},
    // Point numbers as the results list counts them, from 1.
    {"pair", 2,
     [](MeasureData& d, const std::vector<int32_t>& v) {
         d.AppendPointPair(v[0] - 1, v[1] - 1);
     }},
};

bool SetCalibration(MeasureSession& session, const std::string& value) {
    SetCalibrationArgument(session.calibration, value);
    return true;
}

bool LoadCalibration(MeasureSession& session, const std::string& path) {
    CalibrationRecord record;
    switch (ReadCalFile(path, record)) {
    case CalFileRead::Read:
        StoreCalibration(session.calibration, record);
        return true;
    case CalFileRead::NotACalFile:
        ShowMessage(kCalFileUnreadable, MessageIcon::Stop);
        return false;
    case CalFileRead::CannotOpen:
        ShowMessage("Can not open the file " + path + "!", MessageIcon::Stop);
        return false;
    }
    return false;
}

bool SaveCalibration(MeasureSession& session, const std::string& path) {
    if (WriteCalFile(path, CalibrationInForce(session.calibration)))
        return true;
    ShowMessage("Can not write the file " + path + "!", MessageIcon::Stop);
    return false;
}

bool LoadPicture(MeasureSession& session, const std::string& path) {
    PackedDib picture = ReadPicture(path);
    if (!picture || !session.doc.OnOpenDocument(std::move(picture)))
        return false;
    session.hasPicture = true;
    return true;
}

// The largest snap radius: a search further than this is no longer "near".
constexpr double kLargestSnapRadius = 256.0;

bool SetSnapRadius(MeasureSession& session, const std::string& value) {
    const std::optional<double> radius = ParseReal(value);
    if (!radius || !(*radius > 0.0) || *radius > kLargestSnapRadius)
        throw UsageError("--snap needs a radius above 0 and at most 256 pixels, not '" + value +
                         "'");
    session.snapRadius = *radius;
    return true;
}

bool PrintLabels(MeasureSession& session, const std::string&) {
    const auto atOrigin = [](PixelPoint p) {
        return p;
    };
    for (const LabelledItem& item :
         MeasureLabels(session.doc.measureData(), session.calibration.scale(), atOrigin))
        std::printf("%s %d %d %s\n", std::string(LabelledKindName(item.kind)).c_str(),
                    item.label.position.x, item.label.position.y, item.label.text.c_str());
    return true;
}

bool PrintValues(MeasureSession& session, const std::string&) {
    constexpr std::string_view kKindNames[] = {"point", "line", "circle", "rectangle", "angle"};
    const MeasureData& data = session.doc.measureData();
    const MeasureScale scale = session.calibration.scale();
    for (int k = 0; k < 5; ++k) {
        const auto kind = static_cast<MeasureKind>(k);
        const auto names = MeasureValueNames(kind);
        for (int item = 0; item < data.ItemCount(kind); ++item) {
            const MeasureRow row = MeasureItemRow(data, kind, item, scale);
            std::string line(kKindNames[k]);
            for (int v = 0; v < row.count; ++v)
                line += " " + std::string(names[static_cast<size_t>(v)]) + "=" +
                        FormatMeasureValue(row.values[static_cast<size_t>(v)]);
            // Fitted edges also tell how straight or round the edge was.
            const EdgeFit fit = data.edgeFit(kind, item);
            if (fit.measured && (kind == MeasureKind::Line || kind == MeasureKind::Circle))
                line += " Residual=" + FormatMeasureValue(fit.residual);
            std::printf("%s\n", line.c_str());
        }
    }
    return true;
}

constexpr MeasureOption kMeasureOptions[] = {
    {"--image", "FILE", "the picture the edge items are measured on", LoadPicture, true},
    {"--snap", "RADIUS", "how far from each given position an edge is searched (default 8)",
     SetSnapRadius, true},
    {"--calibration", "UNIT,REALX,REALY,PIXELX,PIXELY",
     "store a calibration as the Calibrate panel's OK does", SetCalibration},
    {"--cal", "FILE", "load a .Cal file as the Calibrate panel's Load does", LoadCalibration},
    {"--save-cal", "FILE", "write the calibration in force as a .Cal file", SaveCalibration},
    {"--labels", "", "print every item's label: KIND X Y TEXT", PrintLabels},
    {"--values", "", "print every item's values: KIND NAME=VALUE ...", PrintValues},
    {"--tol", "FILE", "load a .Tol tolerance file", LoadTolerances},
    {"--tolerance", "K,STANDARD,UPPER,LOWER", "set tolerance entry K", SetTolerance},
    {"--save-tol", "FILE", "write the tolerances as a .Tol file", SaveTolerances},
    {"--items", "FILE", "load a .Itm output items file", LoadOutputItems},
    {"--select", "K,K,...|none", "set the output items in this order", SelectOutputItems},
    {"--save-items", "FILE", "write the output items as a .Itm file", SaveOutputItems},
    {"--delete", "TAB:ROW", "delete a row of a results tab, as the panel does", DeleteResultRow},
    {"--panel", "TAB", "print the rows of a results tab as the panel shows them", PrintPanelRows},
    {"--error-detect", "", "judge the --panel cells against the tolerances", DetectErrors, true},
    {"--report", "FILE", "write the results as a text file", WriteResultReport},
    {"--csv", "FILE", "write the results as a CSV file", WriteResultSpreadsheet},
};

const MeasureOption* FindMeasureOption(std::string_view name) {
    for (const MeasureOption& option : kMeasureOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

struct ScheduledOption {
    const MeasureOption* option;
    std::string value;
};

} // namespace

std::span<const MeasureOption> MeasureOptions() {
    return kMeasureOptions;
}

bool AppendMeasureItem(MeasureSession& session, std::string_view word) {
    if (IsEdgeItem(word)) {
        const EdgeItemContext context{session.hasPicture ? session.doc.image() : CDibImage{},
                                      session.snapRadius};
        return AppendEdgeItem(session.doc.measureData(), word, context);
    }
    AppendMeasureItem(session.doc.measureData(), word);
    return true;
}

void AppendMeasureItem(MeasureData& data, std::string_view word) {
    const size_t colon = word.find(':');
    const std::string_view prefix = word.substr(0, colon);
    for (const ItemKind& kind : kItemKinds) {
        if (colon == std::string_view::npos || kind.prefix != prefix)
            continue;
        kind.append(data, Coordinates(word, word.substr(colon + 1), kind.numbers));
        return;
    }
    throw UsageError("unknown measurement item '" + std::string(word) + "'");
}

void SetCalibrationArgument(RulerCalibration& calibration, const std::string& value) {
    const std::optional<CalibrationFields> fields = ParseCalibrationFields(value);
    if (!fields)
        throw UsageError("--calibration needs UNIT,REALX,REALY,PIXELX,PIXELY, not '" + value + "'");
    calibration.SetUnit(fields->unit);
    calibration.SetRealSize(fields->realX, fields->realY);
    calibration.SetPixelSize(fields->pixelX, fields->pixelY);
}

int RunMeasureCommand(const std::vector<std::string>& words) {
    std::vector<std::string> items;
    std::vector<ScheduledOption> options;
    for (size_t i = 0; i < words.size(); ++i) {
        if (!words[i].starts_with("--")) {
            items.push_back(words[i]);
            continue;
        }
        const MeasureOption* option = FindMeasureOption(words[i]);
        if (!option)
            throw UsageError("unknown option " + words[i] + " for measure");
        if (option->value.empty()) {
            options.push_back({option, {}});
            continue;
        }
        if (i + 1 == words.size())
            throw UsageError(words[i] + " needs a value");
        options.push_back({option, words[++i]});
    }

    // Every item is checked before anything is read or written.
    const bool hasPicture = std::any_of(options.begin(), options.end(),
                                        [](const auto& o) { return o.option->run == LoadPicture; });
    MeasureData scratch;
    for (const std::string& item : items)
        if (IsEdgeItem(item))
            CheckEdgeItem(item, hasPicture);
        else
            AppendMeasureItem(scratch, item);

    MeasureSession session;
    const auto runOptions = [&](bool first) {
        for (const ScheduledOption& scheduled : options)
            if (scheduled.option->first == first &&
                !scheduled.option->run(session, scheduled.value))
                return false;
        return true;
    };
    if (!runOptions(true))
        return kExitFailure;
    // Every item is tried, so that each edge not found is named; then
    // nothing is written.
    bool allFound = true;
    for (const std::string& item : items)
        allFound = AppendMeasureItem(session, item) && allFound;
    if (!allFound || !runOptions(false))
        return kExitFailure;
    return kExitSuccess;
}

std::string MeasureCommandUsage() {
    std::string usage =
        "       halvera-cli measure [--image FILE [--snap RADIUS]] [OPTIONS] ITEM...\n"
        "ITEM is point:X,Y line:SX,SY,EX,EY circle:CX,CY,QX,QY "
        "circle3:X1,Y1,X2,Y2,X3,Y3\n"
        "        rect:L,T,R,B angle:AX,AY,VX,VY,BX,BY pair:I,J\n"
        "     or, measured on the edges of the --image picture to a fraction of a pixel:\n"
        "        edge-point:X,Y (the edge point nearest X,Y)\n"
        "        edge-line:X1,Y1,X2,Y2 (the straight edge near the segment, fitted along it)\n"
        "        edge-circle:CX,CY,R (the circular edge near that circle, fitted all round)\n"
        "        width:X1,Y1,X2,Y2 (from the first edge the segment crosses, square to it,\n"
        "        to the last)\n"
        "     an edge not found is named on standard error and nothing is written (exit 1);\n"
        "     --values adds Residual= (RMS distance of the edge points from the fit, pixels)\n"
        "OPTIONS of measure, run in the order given after the items (--image, --snap and\n"
        "--error-detect first):\n";
    for (const MeasureOption& option : kMeasureOptions) {
        std::string line = "       " + std::string(option.name);
        if (!option.value.empty())
            line += " " + std::string(option.value);
        line.resize(std::max<size_t>(line.size() + 1, 52), ' ');
        usage += line + std::string(option.help) + "\n";
    }
    return usage;
}

} // namespace halvera
