#include "cli/RecipeCommand.h"

#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/CommandWords.h"
#include "cli/MeasureCommand.h"
#include "cli/MeasureResultOptions.h"
#include "cli/PresetCommands.h"
#include "measure/CalFile.h"
#include "measure/MeasurementSidecar.h"
#include "measure/RecipeFile.h"
#include "measure/RecipeFromItems.h"
#include "platform/UserPrompts.h"

#include <filesystem>
#include <optional>
#include <utility>

namespace halvera {

namespace {

constexpr CommandOption kRecipeOptions[] = {{"--datum"},  {"--name"},  {"--calibration"},
                                            {"--preset"}, {"--tol"},   {"--tolerance"},
                                            {"--items"},  {"--select"}};

// The options shared with `measure`, prepared by its own checks so that
// their values mean the same on both commands.
struct ResultOption {
    std::string_view name;
    std::optional<MeasureStep> (*prepare)(const std::string& value);
};
constexpr ResultOption kResultOptions[] = {{"--tol", PrepareLoadTolerances},
                                           {"--tolerance", PrepareSetTolerance},
                                           {"--items", PrepareLoadOutputItems},
                                           {"--select", PrepareSelectOutputItems}};

// Item numbers as the command line gives them, from 1.
struct DatumNumbers {
    int line = 0;
    std::optional<int> origin;
};

struct RecipeRequest {
    std::string measurementsPath;
    std::string outputPath;
    std::optional<DatumNumbers> datum;
    std::vector<std::pair<int, std::string>> names;
    std::optional<CalibrationFields> calibration;
    std::optional<CalibrationPreset> preset;
    std::vector<MeasureStep> resultSteps; // in command-line order
};

int ItemNumber(std::string_view option, std::string_view text) {
    const std::optional<int> number = ParseInteger(text);
    if (!number || *number < 1)
        throw UsageError(std::string(option) + " takes item numbers counted from 1, not '" +
                         std::string(text) + "'");
    return *number;
}

DatumNumbers ParseDatum(const std::string& value) {
    const std::vector<std::string_view> fields = SplitFields(value, ',');
    if (fields.empty() || fields.size() > 2)
        throw UsageError("--datum takes I or I,J, not '" + value + "'");
    DatumNumbers datum{ItemNumber("--datum", fields[0]), std::nullopt};
    if (fields.size() == 2)
        datum.origin = ItemNumber("--datum", fields[1]);
    return datum;
}

std::pair<int, std::string> ParseName(const std::string& value) {
    const size_t equals = value.find('=');
    if (equals == std::string::npos)
        throw UsageError("--name takes I=NAME, not '" + value + "'");
    return {ItemNumber("--name", std::string_view(value).substr(0, equals)),
            value.substr(equals + 1)};
}

// Every value is checked and every file an option loads is read; false
// after the message of a file that cannot be read.
bool PrepareResultSteps(const CommandWords& split, RecipeRequest& request) {
    for (const auto& [name, value] : split.options)
        for (const ResultOption& option : kResultOptions)
            if (option.name == name) {
                std::optional<MeasureStep> step = option.prepare(value);
                if (!step)
                    return false;
                request.resultSteps.push_back(std::move(*step));
            }
    return true;
}

bool SamePath(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::weakly_canonical(a, error) ==
           std::filesystem::weakly_canonical(b, error);
}

// Nothing when a file an option loads cannot be read, after its message.
std::optional<RecipeRequest> ParseRequest(const std::vector<std::string>& words) {
    const CommandWords split = SplitCommandWords("recipe", kRecipeOptions, words);
    if (split.positional.size() != 2)
        throw UsageError("recipe needs a measurement file and the recipe file to write");
    RecipeRequest request;
    request.measurementsPath = split.positional[0];
    request.outputPath = split.positional[1];
    if (SamePath(request.outputPath, request.measurementsPath))
        throw UsageError("the output " + request.outputPath + " would replace an input");
    if (const std::optional<std::string> datum = split.once("--datum"))
        request.datum = ParseDatum(*datum);
    for (const auto& [name, value] : split.options)
        if (name == "--name")
            request.names.push_back(ParseName(value));
    const std::optional<std::string> calibration = split.once("--calibration");
    if (calibration)
        request.calibration = ParseCalibrationArgument(*calibration);
    if (const std::optional<std::string> preset = split.once("--preset"))
        request.preset = CalibrationPresetArgument(calibration, *preset);
    if (!PrepareResultSteps(split, request))
        return std::nullopt;
    return request;
}

// The index of item `number` (from 1); wrong usage when the file has no such item.
size_t IndexOf(const std::vector<RecipeItem>& items, int number) {
    if (number > static_cast<int>(items.size()))
        throw UsageError("item " + std::to_string(number) + " is not in the measurement file (" +
                         std::to_string(items.size()) + " items)");
    return static_cast<size_t>(number - 1);
}

void RequireKind(const RecipeItem& item, int number, bool edgePointToo, const char* role) {
    if (item.kind == RecipeItemKind::EdgeLine ||
        (edgePointToo && item.kind == RecipeItemKind::EdgePoint))
        return;
    throw UsageError("--datum: item " + std::to_string(number) + " (" +
                     std::string(TraitsOf(item.kind).word) + ") is not " + role);
}

// The origin when --datum names none: the first edge-point or other
// edge-line, as the desktop program's dialog offers it first.
int FirstOrigin(const std::vector<RecipeItem>& items, int line) {
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const RecipeItemKind kind = items[static_cast<size_t>(i)].kind;
        if (kind == RecipeItemKind::EdgePoint || (kind == RecipeItemKind::EdgeLine && i != line))
            return i;
    }
    throw UsageError("--datum: the measurement file has no edge-point or second edge-line "
                     "for the origin");
}

std::optional<DatumChoice> DatumOf(const std::vector<RecipeItem>& items,
                                   const std::optional<DatumNumbers>& numbers) {
    if (!numbers)
        return std::nullopt;
    RequireKind(items[IndexOf(items, numbers->line)], numbers->line, false, "an edge-line");
    const int line = numbers->line - 1;
    if (!numbers->origin)
        return DatumChoice{line, FirstOrigin(items, line)};
    const int origin = *numbers->origin;
    RequireKind(items[IndexOf(items, origin)], origin, true, "an edge-point or edge-line");
    if (origin - 1 == line)
        throw UsageError("--datum: the origin must be another item than the reference edge");
    return DatumChoice{line, origin - 1};
}

NamedCalibration CalibrationOf(const RecipeRequest& request, MeasureSession& session,
                               const NamedCalibration& fromFile) {
    if (request.preset)
        return {request.preset->record, request.preset->name};
    if (!request.calibration)
        return fromFile;
    StoreCalibrationFields(session.calibration, *request.calibration);
    return NamedCalibrationInForce(session.calibration);
}

} // namespace

int RunRecipeCommand(const std::vector<std::string>& words) {
    const std::optional<RecipeRequest> request = ParseRequest(words);
    if (!request)
        return kExitFailure;
    const MeasurementFileRead read = ReadMeasurementSidecar(request->measurementsPath);
    if (!read.record) {
        ShowMessage("Can not read the measurements " + request->measurementsPath + ": " +
                        read.problem,
                    MessageIcon::Stop);
        return kExitFailure;
    }
    std::vector<RecipeItem> items = RecipeItemsOf(read.record->items, CDibImage());
    for (const auto& [number, name] : request->names)
        items[IndexOf(items, number)].name = name;
    const std::optional<DatumChoice> datum = DatumOf(items, request->datum);
    // The steps and the calibration's limits are those of `measure`'s session.
    MeasureSession session;
    for (const MeasureStep& step : request->resultSteps)
        step(session);
    const NamedCalibration calibration = CalibrationOf(*request, session, read.record->calibration);
    const RecipeSettings settings{calibration.record, TolerancesInUse(session.tolerance),
                                  session.output, calibration.preset};
    const MadeRecipe made = MakeRecipe(std::move(items), datum, settings);
    if (!made.recipe) {
        ShowMessage("Can not make the recipe: " + made.problem, MessageIcon::Stop);
        return kExitFailure;
    }
    if (!WriteRecipeFile(request->outputPath, *made.recipe)) {
        ShowMessage("Can not write the file " + request->outputPath + "!", MessageIcon::Stop);
        return kExitFailure;
    }
    return kExitSuccess;
}

std::string RecipeCommandUsage() {
    return "       halvera-cli recipe MEASUREMENTS OUT [--datum I[,J]] [--name I=NAME ...]\n"
           "        [--calibration UNIT,REALX,REALY,PIXELX,PIXELY | --preset NAME]\n"
           "        [--tol FILE] [--tolerance K,STANDARD,UPPER,LOWER ...] [--items FILE]\n"
           "        [--select K,K,...|none]\n"
           "     writes the inspection recipe OUT made from the measurement file's items,\n"
           "     numbered from 1 in the file's order (points, lines, circles, angles,\n"
           "     rectangles, point pairs): --datum I,J takes edge-line I as the reference\n"
           "     edge and edge-point or edge-line J as the origin (without J the first\n"
           "     other one); --name names item I; the calibration is the file's unless\n"
           "     given; tolerances and output items as measure sets them\n";
}

} // namespace halvera
