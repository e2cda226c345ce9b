#include "cli/MeasureCommand.h"

#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/CommandWords.h"
#include "cli/EdgeMeasureItems.h"
#include "cli/MeasureResultOptions.h"
#include "cli/PresetCommands.h"
#include "measure/CalFile.h"
#include "measure/MeasureLabels.h"
#include "measure/MeasureNumber.h"
#include "measure/MeasureValues.h"
#include "measure/MeasurementFiles.h"
#include "measure/MeasurementSidecar.h"
#include "measure/ThreePointCircle.h"
#include "platform/UserPrompts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
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

std::optional<MeasureStep> PrepareCalibration(const std::string& value) {
    const CalibrationFields fields = ParseCalibrationArgument(value);
    return MeasureStep([fields](MeasureSession& session) {
        StoreCalibrationFields(session.calibration, fields);
        return true;
    });
}

// The preset is looked up while the options are checked, so an unknown name
// stops the command before anything is written.
std::optional<MeasureStep> PreparePreset(const std::string& name) {
    const CalibrationPreset preset = PresetNamed(name);
    return MeasureStep([preset](MeasureSession& session) {
        StoreNamedCalibration(session.calibration, {preset.record, preset.name});
        return true;
    });
}

std::optional<MeasureStep> PrepareSavePreset(const std::string& value) {
    const std::string name = PresetNameArgument(value);
    return MeasureStep([name](MeasureSession& session) {
        if (!SavePreset(name, CalibrationInForce(session.calibration)))
            return false;
        session.calibration.SetPresetName(name);
        return true;
    });
}

std::optional<MeasureStep> PrepareLoadCalibration(const std::string& path) {
    CalibrationRecord record;
    switch (ReadCalFile(path, record)) {
    case CalFileRead::Read:
        return MeasureStep([record](MeasureSession& session) {
            StoreCalibration(session.calibration, record);
            return true;
        });
    case CalFileRead::NotACalFile:
        ShowMessage(kCalFileUnreadable, MessageIcon::Stop);
        return std::nullopt;
    case CalFileRead::CannotOpen:
        break;
    }
    ShowMessage("Can not open the file " + path + "!", MessageIcon::Stop);
    return std::nullopt;
}

bool SaveCalibration(MeasureSession& session, const std::string& path) {
    if (WriteCalFile(path, CalibrationInForce(session.calibration)))
        return true;
    ShowMessage("Can not write the file " + path + "!", MessageIcon::Stop);
    return false;
}

// The picture is read while the options are checked; the step opens it.
std::optional<MeasureStep> PrepareLoadPicture(const std::string& path) {
    auto file = std::make_shared<PictureFromFile>(ReadPictureFile(path));
    if (!file->picture)
        return std::nullopt;
    return MeasureStep([file, path](MeasureSession& session) {
        if (!session.doc.OnOpenDocument(std::move(file->picture)))
            return false;
        session.hasPicture = true;
        session.picturePath = path;
        session.pictureCalibration = file->calibration;
        return true;
    });
}

// Runs with the first steps, after --image wherever it stands (see
// RunMeasureCommand), so a picture without a calibration stops the command
// before anything is written.
std::optional<MeasureStep> PrepareImageCalibration(const std::string&) {
    return MeasureStep([](MeasureSession& session) {
        return UsePictureCalibration(session.calibration, session.picturePath,
                                     session.pictureCalibration);
    });
}

// The file is read while the options are checked; the step appends its
// items and makes its calibration the one in force, at its place in the order.
std::optional<MeasureStep> PrepareLoadMeasurements(const std::string& path) {
    auto read = std::make_shared<MeasurementFileRead>(ReadMeasurementSidecar(path));
    if (!read->record) {
        ShowMessage("Can not read the measurements " + path + ": " + read->problem,
                    MessageIcon::Stop);
        return std::nullopt;
    }
    return MeasureStep([read](MeasureSession& session) {
        if (!session.doc.measureData().AppendItemsOf(read->record->items)) {
            ShowMessage("Memory error!", MessageIcon::Stop);
            return false;
        }
        StoreNamedCalibration(session.calibration, read->record->calibration);
        return true;
    });
}

bool SaveMeasurements(MeasureSession& session, const std::string& path) {
    const MeasurementRecord record{
        session.picturePath.empty() ? std::string() : FileNameOf(session.picturePath),
        NamedCalibrationInForce(session.calibration), session.doc.measureData()};
    if (WriteMeasurementSidecar(path, record))
        return true;
    ShowMessage("Can not write the file " + path + "!", MessageIcon::Stop);
    return false;
}

// The largest snap radius: a search further than this is no longer "near".
constexpr double kLargestSnapRadius = 256.0;

std::optional<MeasureStep> PrepareSnapRadius(const std::string& value) {
    const std::optional<double> radius = ParseReal(value);
    if (!radius || !(*radius > 0.0) || *radius > kLargestSnapRadius)
        throw UsageError("--snap needs a radius above 0 and at most 256 pixels, not '" + value +
                         "'");
    return MeasureStep([snapRadius = *radius](MeasureSession& session) {
        session.snapRadius = snapRadius;
        return true;
    });
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
    {"--image", "FILE", "the picture the edge items are measured on", PrepareLoadPicture, true,
     OptionFile::Read},
    {"--snap", "RADIUS", "how far from each given position an edge is searched (default 8)",
     PrepareSnapRadius, true},
    {"--calibration-from-image", "",
     "the --image picture's own calibration comes into force before the items",
     PrepareImageCalibration, true},
    {"--calibration", "UNIT,REALX,REALY,PIXELX,PIXELY",
     "store a calibration as the Calibrate panel's OK does", PrepareCalibration},
    {"--preset", "NAME", "make the desktop's calibration preset NAME the one in force",
     PreparePreset},
    {"--save-preset", "NAME", "store the calibration in force as the desktop's preset NAME",
     PrepareSavePreset},
    {"--cal", "FILE", "load a .Cal file as the Calibrate panel's Load does", PrepareLoadCalibration,
     false, OptionFile::Read},
    {"--save-cal", "FILE", "write the calibration in force as a .Cal file",
     RunLater<SaveCalibration>, false, OptionFile::Written},
    {"--load-measurements", "FILE",
     "append a measurement file's items; its calibration comes into force", PrepareLoadMeasurements,
     false, OptionFile::Read},
    {"--save-measurements", "FILE",
     "write the items and the calibration in force as a measurement file",
     RunLater<SaveMeasurements>, false, OptionFile::Written},
    {"--labels", "", "print every item's label: KIND X Y TEXT", RunLater<PrintLabels>},
    {"--values", "", "print every item's values: KIND NAME=VALUE ...", RunLater<PrintValues>},
    {"--tol", "FILE", "load a .Tol tolerance file", PrepareLoadTolerances, false, OptionFile::Read},
    {"--tolerance", "K,STANDARD,UPPER,LOWER", "set tolerance entry K", PrepareSetTolerance},
    {"--save-tol", "FILE", "write the tolerances as a .Tol file", RunLater<SaveTolerances>, false,
     OptionFile::Written},
    {"--items", "FILE", "load a .Itm output items file", PrepareLoadOutputItems, false,
     OptionFile::Read},
    {"--select", "K,K,...|none", "set the output items in this order", PrepareSelectOutputItems},
    {"--save-items", "FILE", "write the output items as a .Itm file", RunLater<SaveOutputItems>,
     false, OptionFile::Written},
    {"--delete", "TAB:ROW", "delete a row of a results tab, as the panel does",
     PrepareDeleteResultRow},
    {"--panel", "TAB", "print the rows of a results tab as the panel shows them",
     PreparePrintPanelRows},
    {"--error-detect", "", "judge the --panel cells against the tolerances", RunLater<DetectErrors>,
     true},
    {"--report", "FILE", "write the results as a text file", RunLater<WriteResultReport>, false,
     OptionFile::Written},
    {"--csv", "FILE", "write the results as a CSV file", RunLater<WriteResultSpreadsheet>, false,
     OptionFile::Written},
};

const MeasureOption* FindMeasureOption(std::string_view name) {
    for (const MeasureOption& option : kMeasureOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

struct ScheduledStep {
    bool first;
    bool loadsPicture;
    MeasureStep run;
};

// The options of the measure table as the word splitter knows them.
std::vector<CommandOption> MeasureCommandOptions() {
    std::vector<CommandOption> known;
    for (const MeasureOption& option : kMeasureOptions)
        known.push_back({option.name, !option.value.empty()});
    return known;
}

// The same file, however it is named; a file not there yet by its name.
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    const std::filesystem::path first = std::filesystem::weakly_canonical(a, error);
    const std::filesystem::path second = std::filesystem::weakly_canonical(b, error);
    return error ? a == b : first == second;
}

// Files are read while the options are checked, before any option writes; a
// file that an earlier option writes would be read as it was before the
// command, so such a pair is wrong usage.
void RefuseReadingWhatIsWritten(const std::vector<std::pair<std::string, std::string>>& options) {
    for (size_t reader = 0; reader < options.size(); ++reader) {
        if (FindMeasureOption(options[reader].first)->file != OptionFile::Read)
            continue;
        for (size_t writer = 0; writer < reader; ++writer) {
            if (FindMeasureOption(options[writer].first)->file == OptionFile::Written &&
                SameFile(options[writer].second, options[reader].second))
                throw UsageError(options[reader].first + " reads " + options[reader].second +
                                 ", which " + options[writer].first +
                                 " writes before it; give them in two commands");
        }
    }
}

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

CalibrationFields ParseCalibrationArgument(const std::string& value) {
    const std::optional<CalibrationFields> fields = ParseCalibrationFields(value);
    if (!fields)
        throw UsageError("--calibration needs UNIT,REALX,REALY,PIXELX,PIXELY, not '" + value + "'");
    return *fields;
}

void StoreCalibrationFields(RulerCalibration& calibration, const CalibrationFields& fields) {
    calibration.SetUnit(fields.unit);
    calibration.SetRealSize(fields.realX, fields.realY);
    calibration.SetPixelSize(fields.pixelX, fields.pixelY);
}

void SetCalibrationArgument(RulerCalibration& calibration, const std::string& value) {
    StoreCalibrationFields(calibration, ParseCalibrationArgument(value));
}

bool UsePictureCalibration(RulerCalibration& calibration, const std::string& path,
                           const std::optional<CalibrationRecord>& carried) {
    if (!carried) {
        ShowMessage(path + " carries no calibration (--calibration-from-image).",
                    MessageIcon::Stop);
        return false;
    }
    StoreCalibration(calibration, *carried);
    return true;
}

void RefuseTwoCalibrations(std::string_view command, bool given, bool fromImage) {
    if (given && fromImage)
        throw UsageError(std::string(command) +
                         " takes --calibration-from-image or a calibration given "
                         "(--calibration, --preset), not both");
}

int RunMeasureCommand(const std::vector<std::string>& words) {
    const CommandWords split = SplitCommandWords("measure", MeasureCommandOptions(), words);
    // Every item is checked before anything is read or written.
    const bool hasPicture =
        std::any_of(split.options.begin(), split.options.end(),
                    [](const auto& option) { return option.first == "--image"; });
    if (split.has("--calibration-from-image") && !hasPicture)
        throw UsageError("--calibration-from-image needs --image FILE");
    MeasureData scratch;
    for (const std::string& item : split.positional)
        if (IsEdgeItem(item))
            CheckEdgeItem(item, hasPicture);
        else
            AppendMeasureItem(scratch, item);
    RefuseReadingWhatIsWritten(split.options);
    std::vector<ScheduledStep> steps;
    for (const auto& [name, value] : split.options) {
        const MeasureOption& option = *FindMeasureOption(name);
        std::optional<MeasureStep> step = option.prepare(value);
        if (!step)
            return kExitFailure;
        steps.push_back({option.first, name == "--image", std::move(*step)});
    }
    // The picture is there before anything uses its calibration.
    std::stable_partition(steps.begin(), steps.end(),
                          [&](const ScheduledStep& step) { return step.loadsPicture; });
    MeasureSession session;
    const auto runSteps = [&](bool first) {
        for (const ScheduledStep& step : steps)
            if (step.first == first && !step.run(session))
                return false;
        return true;
    };
    if (!runSteps(true))
        return kExitFailure;
    // Every item is tried, so that each edge not found is named; then
    // nothing is written.
    bool allFound = true;
    for (const std::string& item : split.positional)
        allFound = AppendMeasureItem(session, item) && allFound;
    if (!allFound || !runSteps(false))
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
        "OPTIONS of measure, all checked first; --image, --snap, --calibration-from-image\n"
        "and --error-detect then take effect, the items are measured, and the rest run\n"
        "in the order given:\n";
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
