#include "cli/BatchTool.h"

#include "cli/CalibrateCommand.h"
#include "cli/CliOperation.h"
#include "cli/CommandWords.h"
#include "cli/MeasureCommand.h"
#include "cli/PresetCommands.h"
#include "cli/PrintCommand.h"
#include "cli/RecipeBatchCommand.h"
#include "cli/RecipeCommand.h"
#include "cli/ScanCommands.h"
#include "cli/VideoBatchCommands.h"
#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"
#include "image/PictureFiles.h"
#include "measure/CalFile.h"
#include "platform/StandardErrorPrompts.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <new>
#include <optional>
#include <span>

namespace halvera {

namespace {

constexpr int kDefaultJpegQuality = 75;

constexpr CommandOption kConvertOptions[] = {{"--quality"},
                                             {"--calibration"},
                                             {"--preset"},
                                             {"--calibration-from-image", false},
                                             {"--force", false}};
constexpr CommandOption kApplyOptions[] = {{"--mask"},        {"--mask-out"},
                                           {"--quality"},     {"--calibration"},
                                           {"--preset"},      {"--calibration-from-image", false},
                                           {"--force", false}};

constexpr const char* kInfoUsage = "       halvera-cli info FILE\n";
constexpr const char* kConvertUsage =
    "       halvera-cli convert IN OUT [--quality Q]\n"
    "                         [--calibration UNIT,REALX,REALY,PIXELX,PIXELY | --preset NAME |\n"
    "                          --calibration-from-image] [--force]\n";
constexpr const char* kApplyUsage =
    "       halvera-cli apply IN OUT OP [NAME=VALUE ...] [--mask FILE] [--mask-out FILE] "
    "[--quality Q]\n"
    "                         [--calibration UNIT,REALX,REALY,PIXELX,PIXELY | --preset NAME |\n"
    "                          --calibration-from-image] [--force]\n";
constexpr const char* kCalibrationUsage =
    "A PNG or TIFF that convert or apply writes carries the calibration in force:\n"
    "        --calibration's, --preset's, or with --calibration-from-image the one IN\n"
    "        carries (none without one of them). info prints\n"
    "        calibration=UNIT,XSCALE,YSCALE (units per pixel) for a file that carries one.\n";

// The words of info, convert, apply and the video commands, read by the
// command's own options.
struct CommandLine {
    std::string command;
    std::vector<std::string> positional;
    int quality = kDefaultJpegQuality;
    std::optional<std::string> mask;
    std::optional<std::string> maskOut;
    std::optional<std::string> source;
    std::optional<std::string> time;
    std::optional<std::string> rate;
    std::optional<std::string> calibration;
    std::optional<CalibrationPreset> preset;
    bool calibrationFromImage = false;
    bool force = false;
};

CommandLine ReadCommandLine(const std::string& command, std::span<const CommandOption> known,
                            const std::vector<std::string>& words) {
    const CommandWords split = SplitCommandWords(command, known, words);
    CommandLine line;
    line.command = command;
    line.positional = split.positional;
    if (const std::optional<std::string> quality = split.once("--quality"))
        line.quality = ParseQuality(*quality);
    line.mask = split.once("--mask");
    line.maskOut = split.once("--mask-out");
    line.calibration = split.once("--calibration");
    if (const std::optional<std::string> preset = split.once("--preset"))
        line.preset = CalibrationPresetArgument(line.calibration, *preset);
    line.calibrationFromImage = split.has("--calibration-from-image");
    RefuseTwoCalibrations(command, line.calibration || line.preset, line.calibrationFromImage);
    line.source = split.once("--source");
    line.time = split.once("--time");
    line.rate = split.once("--rate");
    line.force = split.has("--force");
    return line;
}

void RequireWords(const CommandLine& line, size_t count, const char* words) {
    if (line.positional.size() != count)
        throw UsageError(line.command + " takes " + words);
}

// Opens the picture `path` into `doc`; with --calibration-from-image its
// calibration comes into force (a picture without one is refused).
bool OpenDocument(CMavDoc& doc, const std::string& path, bool calibrationFromImage) {
    PictureFromFile file = ReadPictureFile(path);
    if (!file.picture)
        return false;
    if (calibrationFromImage) {
        RulerCalibration calibration(doc.settings());
        if (!UsePictureCalibration(calibration, path, file.calibration))
            return false;
    }
    if (!doc.OnOpenDocument(std::move(file.picture)))
        return false;
    doc.setPath(path);
    doc.setTitle(path);
    return true;
}

// "calibration=um,0.2,0.25": the unit as the calibration panel names it and
// the units per pixel with 9 significant digits, in the C locale's form.
std::string CalibrationLine(const CalibrationRecord& record) {
    const MeasureScale scale =
        ScaleOf(record.realX, record.realY, record.pixelWidth, record.pixelHeight);
    const auto digits = [](double value) {
        constexpr int kSignificantDigits = 9;
        std::array<char, 32> text{};
        const auto end = std::to_chars(text.data(), text.data() + text.size(), value,
                                       std::chars_format::general, kSignificantDigits)
                             .ptr;
        return std::string(text.data(), end);
    };
    return "calibration=" + std::string(RulerUnitName(record.unit)) + "," + digits(scale.x) + "," +
           digits(scale.y);
}

// Fills the document's selection mask from a picture of the same size: the
// blue byte of each pixel, after conversion to 24 bits, is the mask byte.
bool LoadMask(CMavDoc& doc, const std::string& path) {
    const PackedDib picture = ReadPicture(path);
    if (!picture)
        return false;
    const BitmapInfoHeader& header = *picture.header();
    if (IsReadableDibHeader(header) &&
        (header.biWidth != doc.width() || header.biHeight != doc.height())) {
        ShowMessage("The mask " + path + " is " + std::to_string(header.biWidth) + " x " +
                        std::to_string(header.biHeight) + " pixels; the image is " +
                        std::to_string(doc.width()) + " x " + std::to_string(doc.height()) + ".",
                    MessageIcon::Warning);
        return false;
    }
    DibBlock colour;
    if (!PictureToRgb(path, picture, colour))
        return false;
    const CDibImage source = colour.dib();
    const CDibImage mask = doc.mask();
    for (int32_t y = 0; y < mask.height; ++y) {
        const uint8_t* blue = source.row(y);
        uint8_t* target = mask.row(y);
        for (int32_t x = 0; x < doc.width(); ++x)
            target[x] = blue[3 * x];
    }
    return true;
}

int RunInfo(const CommandLine& line) {
    RequireWords(line, 1, "one file: info FILE");
    const PictureFromFile file = ReadPictureFile(line.positional[0]);
    if (!file.picture)
        return kExitFailure;
    const BitmapInfoHeader& header = *file.picture.header();
    std::printf("width=%d height=%d depth=%d\n", header.biWidth, header.biHeight,
                header.biBitCount);
    if (file.calibration)
        std::printf("%s\n", CalibrationLine(*file.calibration).c_str());
    return kExitSuccess;
}

// Makes --calibration's or --preset's calibration the one in force.
void StoreGivenCalibration(const CommandLine& line, AppSettings& settings) {
    RulerCalibration calibration(settings);
    if (line.calibration)
        SetCalibrationArgument(calibration, *line.calibration);
    if (line.preset)
        StoreNamedCalibration(calibration, {line.preset->record, line.preset->name});
}

int RunConvert(const CommandLine& line) {
    RequireWords(line, 2, "two files: convert IN OUT");
    const std::string& output = line.positional[1];
    RequirePictureName(output);
    if (!MayReplacePictureFile(output, line.force))
        return kExitFailure;

    AppSettings settings;
    StoreGivenCalibration(line, settings);
    CMavDoc doc(settings);
    if (!OpenDocument(doc, line.positional[0], line.calibrationFromImage) ||
        !doc.SaveByExtension(output, CMavDoc::RicherFile::Replace))
        return kExitFailure;
    return kExitSuccess;
}

// The usage of apply for one operation, or with every operation's name.
std::string ApplyUsage(const CliOperation* operation) {
    if (operation)
        return kApplyUsage + ("OP here: " + std::string(operation->usage) + "\n");
    std::string names = "OP is one of:";
    size_t lineLength = names.size();
    for (const CliOperation* each : AllOperations()) {
        if (lineLength + 1 + each->name.size() > 79) {
            names += "\n      ";
            lineLength = 6;
        }
        names += " " + std::string(each->name);
        lineLength += 1 + each->name.size();
    }
    return kApplyUsage + names + "\n(halvera-cli --help gives each one's NAME=VALUE words)\n";
}

// Everything apply will do, read and checked before any file is read.
struct ApplyPlan {
    PreparedOperation run;
    PreparedOperation writeOutput;
    AppSettings settings;
};

void PlanApply(const CommandLine& line, const CliOperation& operation, ApplyPlan& plan) {
    const std::string& output = line.positional[1];
    if (operation.prepareOutput) {
        plan.writeOutput = operation.prepareOutput(output);
    } else {
        RequirePictureName(output);
        plan.writeOutput = [output](CMavDoc& doc) {
            return doc.SaveByExtension(output, CMavDoc::RicherFile::Replace);
        };
    }
    const OperationArguments arguments(
        std::vector<std::string>(line.positional.begin() + 3, line.positional.end()));
    plan.run = operation.prepare(arguments);
    arguments.rejectUnused();
    StoreGivenCalibration(line, plan.settings);
}

int RunApply(const CommandLine& line) {
    if (line.positional.size() < 3)
        throw UsageError("apply takes IN OUT OP", ApplyUsage(nullptr));
    const CliOperation* operation = FindOperation(line.positional[2]);
    if (!operation)
        throw UsageError("unknown operation '" + line.positional[2] + "'", ApplyUsage(nullptr));
    ApplyPlan plan;
    try {
        PlanApply(line, *operation, plan);
    } catch (const UsageError& error) {
        throw UsageError(error.what(), ApplyUsage(operation));
    }
    const std::string& output = line.positional[1];
    if (!MayReplacePictureFile(output, line.force) ||
        (line.maskOut && !MayReplacePictureFile(*line.maskOut, line.force)))
        return kExitFailure;

    CMavDoc doc(plan.settings);
    if (!OpenDocument(doc, line.positional[0], line.calibrationFromImage))
        return kExitFailure;
    if (line.mask && !LoadMask(doc, *line.mask))
        return kExitFailure;
    if (!plan.run(doc) || !plan.writeOutput(doc))
        return kExitFailure;
    if (line.maskOut && !CBmpFile().Write(*line.maskOut, doc.mask()))
        return kExitFailure;
    return kExitSuccess;
}

int RunVideo(const std::string& command, const std::vector<std::string>& words) {
    const CommandLine line = ReadCommandLine(command, VideoCommandOptions(command), words);
    StandardErrorPrompts prompts(line.quality);
    ScopedPrompts scope(prompts);
    return RunVideoCommand(
        {line.command, line.positional, line.source, line.time, line.rate, line.force});
}

// info, convert and apply: their options read, the messages to standard error.
int RunImageCommand(const std::string& command, std::span<const CommandOption> known,
                    int (*run)(const CommandLine&), const std::vector<std::string>& words) {
    const CommandLine line = ReadCommandLine(command, known, words);
    StandardErrorPrompts prompts(line.quality);
    ScopedPrompts scope(prompts);
    return run(line);
}

// measure and print read their own options; their messages go to standard error.
int RunWithStandardPrompts(int (*run)(const std::vector<std::string>&),
                           const std::vector<std::string>& words) {
    StandardErrorPrompts prompts(kDefaultJpegQuality);
    ScopedPrompts scope(prompts);
    return run(words);
}

constexpr const char* kCommandList =
    "usage: halvera-cli COMMAND ...\n"
    "COMMAND is one of: info convert apply measure calibrate inspect recipe presets\n"
    "       print video-sources snap record video-frame scanners scan (halvera-cli\n"
    "       --help describes each)\n";

// The usage lines of `command` alone, the first one marked "usage:".
std::string CommandUsage(const std::string& command) {
    std::string lines;
    if (command == "info")
        lines = kInfoUsage;
    else if (command == "convert")
        lines = kConvertUsage;
    else if (command == "apply")
        lines = ApplyUsage(nullptr);
    else if (command == "measure")
        lines = MeasureCommandUsage();
    else if (command == "calibrate")
        lines = CalibrateCommandUsage();
    else if (command == "inspect")
        lines = InspectCommandUsage();
    else if (command == "recipe")
        lines = RecipeCommandUsage();
    else if (command == "print")
        lines = PrintCommandUsage();
    else if (command == "presets")
        lines = PresetsCommandUsage();
    else if (IsVideoCommand(command))
        lines = VideoCommandUsage(command);
    else if (IsScannerCommand(command))
        lines = ScannerCommandsUsage();
    else
        return kCommandList;
    return "usage:" + lines.substr(6);
}

int RunNamedCommand(const std::vector<std::string>& words) {
    if (words.empty())
        throw UsageError("no command given");
    const std::string& command = words[0];
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (IsScannerCommand(command))
        return RunScannerCommand(words);
    if (IsVideoCommand(command))
        return RunVideo(command, rest);
    if (command == "measure")
        return RunWithStandardPrompts(RunMeasureCommand, rest);
    if (command == "calibrate")
        return RunWithStandardPrompts(RunCalibrateCommand, rest);
    if (command == "inspect")
        return RunWithStandardPrompts(RunInspectCommand, rest);
    if (command == "recipe")
        return RunWithStandardPrompts(RunRecipeCommand, rest);
    if (command == "print")
        return RunWithStandardPrompts(RunPrintCommand, rest);
    if (command == "presets")
        return RunWithStandardPrompts(RunPresetsCommand, rest);
    if (command == "info")
        return RunImageCommand(command, {}, RunInfo, rest);
    if (command == "convert")
        return RunImageCommand(command, kConvertOptions, RunConvert, rest);
    if (command == "apply")
        return RunImageCommand(command, kApplyOptions, RunApply, rest);
    throw UsageError("unknown command '" + command + "'");
}

} // namespace

std::string BatchToolUsage() {
    std::string usage = "usage:" + std::string(kInfoUsage).substr(6) + kConvertUsage + kApplyUsage;
    for (const std::string command : {"video-sources", "snap", "record", "video-frame"})
        usage += VideoCommandUsage(command);
    usage += ScannerCommandsUsage();
    usage += kCalibrationUsage;
    usage += "--force replaces an output picture file that holds more than one 8-bit picture\n"
             "        (TIFF pages, 16-bit samples); without it such a file is kept, status 1.\n";
    usage += "OP [NAME=VALUE ...] is one of:\n";
    for (const CliOperation* operation : AllOperations())
        usage += "       " + std::string(operation->usage) + "\n";
    usage += MeasureCommandUsage();
    usage += CalibrateCommandUsage();
    usage += InspectCommandUsage();
    usage += RecipeCommandUsage();
    usage += PrintCommandUsage();
    usage += PresetsCommandUsage();
    return usage;
}

int RunBatchTool(const std::vector<std::string>& words) {
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
        std::fputs(BatchToolUsage().c_str(), stdout);
        return kExitSuccess;
    }
    try {
        return RunNamedCommand(words);
    } catch (const UsageError& error) {
        const std::string usage = !error.usage().empty()
                                      ? "usage:" + error.usage().substr(6)
                                      : CommandUsage(words.empty() ? std::string() : words[0]);
        std::fprintf(stderr, "halvera-cli: %s\n%s", error.what(), usage.c_str());
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        std::fputs("Memory error!\n", stderr);
        return kExitFailure;
    }
}

} // namespace halvera
