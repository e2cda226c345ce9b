#include "cli/BatchTool.h"

#include "cli/CalibrateCommand.h"
#include "cli/CliOperation.h"
#include "cli/MeasureCommand.h"
#include "cli/PrintCommand.h"
#include "cli/ScanCommands.h"
#include "cli/VideoBatchCommands.h"
#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"
#include "image/PictureFiles.h"
#include "platform/StandardErrorPrompts.h"

#include <charconv>
#include <cstdio>
#include <new>
#include <optional>

namespace halvera {

namespace {

constexpr int kDefaultJpegQuality = 75;

struct CommandLine {
    std::string command;
    std::vector<std::string> positional;
    std::optional<int> quality;
    std::optional<std::string> mask;
    std::optional<std::string> maskOut;
    std::optional<std::string> source;
    std::optional<std::string> time;
    std::optional<std::string> rate;
    std::optional<std::string> calibration;
};

template <class T> void SetOnce(std::optional<T>& option, T value, const std::string& name) {
    if (option)
        throw UsageError(name + " is given twice");
    option = std::move(value);
}

// Splits the words into the command, its positional words and its options.
// Options may stand anywhere after the command; each takes one value.
CommandLine ParseCommandLine(const std::vector<std::string>& words) {
    if (words.empty())
        throw UsageError("no command given");
    CommandLine line;
    line.command = words[0];
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!word.starts_with("--")) {
            line.positional.push_back(word);
            continue;
        }
        if (i + 1 == words.size())
            throw UsageError(word + " needs a value");
        const std::string& value = words[++i];
        if (word == "--quality")
            SetOnce(line.quality, ParseQuality(value), word);
        else if (word == "--mask")
            SetOnce(line.mask, value, word);
        else if (word == "--mask-out")
            SetOnce(line.maskOut, value, word);
        else if (word == "--calibration")
            SetOnce(line.calibration, value, word);
        else if (word == "--source")
            SetOnce(line.source, value, word);
        else if (word == "--time")
            SetOnce(line.time, value, word);
        else if (word == "--rate")
            SetOnce(line.rate, value, word);
        else
            throw UsageError("unknown option " + word);
    }
    return line;
}

void RequireWords(const CommandLine& line, size_t count, const char* words) {
    if (line.positional.size() != count)
        throw UsageError(line.command + " takes " + words);
}

bool OpenDocument(CMavDoc& doc, const std::string& path) {
    PackedDib picture = ReadPicture(path);
    if (!picture || !doc.OnOpenDocument(std::move(picture)))
        return false;
    doc.setPath(path);
    doc.setTitle(path);
    return true;
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
    if (!PictureToRgb(picture, colour))
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
    if (line.quality || line.mask || line.maskOut)
        throw UsageError("info takes no options");
    const PackedDib picture = ReadPicture(line.positional[0]);
    if (!picture)
        return kExitFailure;
    const BitmapInfoHeader& header = *picture.header();
    std::printf("width=%d height=%d depth=%d\n", header.biWidth, header.biHeight,
                header.biBitCount);
    return kExitSuccess;
}

int RunConvert(const CommandLine& line) {
    RequireWords(line, 2, "two files: convert IN OUT");
    if (line.mask || line.maskOut)
        throw UsageError("convert takes no mask");
    RequirePictureName(line.positional[1]);

    AppSettings settings;
    CMavDoc doc(settings);
    if (!OpenDocument(doc, line.positional[0]) || !doc.SaveByExtension(line.positional[1]))
        return kExitFailure;
    return kExitSuccess;
}

int RunApply(const CommandLine& line) {
    if (line.positional.size() < 3)
        throw UsageError("apply takes IN OUT OP");
    const std::string& input = line.positional[0];
    const std::string& output = line.positional[1];
    const CliOperation* operation = FindOperation(line.positional[2]);
    if (!operation)
        throw UsageError("unknown operation '" + line.positional[2] + "'");
    if (!operation->writeOutput)
        RequirePictureName(output);
    const OperationArguments arguments(
        std::vector<std::string>(line.positional.begin() + 3, line.positional.end()));
    const PreparedOperation run = operation->prepare(arguments);
    arguments.rejectUnused();

    AppSettings settings;
    if (line.calibration) {
        RulerCalibration calibration(settings);
        SetCalibrationArgument(calibration, *line.calibration);
    }
    CMavDoc doc(settings);
    if (!OpenDocument(doc, input))
        return kExitFailure;
    if (line.mask && !LoadMask(doc, *line.mask))
        return kExitFailure;
    if (!run(doc))
        return kExitFailure;
    const bool written =
        operation->writeOutput ? operation->writeOutput(doc, output) : doc.SaveByExtension(output);
    if (!written)
        return kExitFailure;
    if (line.maskOut && !CBmpFile().Write(*line.maskOut, doc.mask()))
        return kExitFailure;
    return kExitSuccess;
}

int RunVideo(const CommandLine& line) {
    if (line.mask || line.maskOut)
        throw UsageError(line.command + " takes no mask");
    return RunVideoCommand({line.command, line.positional, line.source, line.time, line.rate});
}

int RunCommand(const CommandLine& line) {
    if (IsVideoCommand(line.command))
        return RunVideo(line);
    if (line.source || line.time || line.rate)
        throw UsageError("--source, --time and --rate belong to the video commands");
    if (line.command == "info")
        return RunInfo(line);
    if (line.command == "convert")
        return RunConvert(line);
    if (line.command == "apply")
        return RunApply(line);
    throw UsageError("unknown command '" + line.command + "'");
}

} // namespace

std::string BatchToolUsage() {
    std::string usage = "usage: halvera-cli info FILE\n"
                        "       halvera-cli convert IN OUT [--quality Q]\n"
                        "       halvera-cli apply IN OUT OP [NAME=VALUE ...] [--mask FILE] "
                        "[--mask-out FILE] [--quality Q]\n"
                        "                         [--calibration UNIT,REALX,REALY,PIXELX,PIXELY]\n"
                        "       halvera-cli video-sources\n"
                        "       halvera-cli snap OUT [--source NAME] [--quality Q]\n"
                        "       halvera-cli record OUT.avi --time SECONDS --rate FPS "
                        "[--source NAME]\n"
                        "       halvera-cli video-frame IN N OUT [--quality Q]\n";
    usage += ScannerCommandsUsage();
    usage += "OP [NAME=VALUE ...] is one of:\n";
    for (const CliOperation* operation : AllOperations())
        usage += "       " + std::string(operation->usage) + "\n";
    usage += MeasureCommandUsage();
    usage += CalibrateCommandUsage();
    usage += PrintCommandUsage();
    return usage;
}

int RunBatchTool(const std::vector<std::string>& words) {
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
        std::fputs(BatchToolUsage().c_str(), stdout);
        return kExitSuccess;
    }
    try {
        if (!words.empty() && IsScannerCommand(words[0]))
            return RunScannerCommand(words);
        // measure reads its own options, in order, from its own table.
        if (!words.empty() && words[0] == "measure") {
            StandardErrorPrompts prompts(kDefaultJpegQuality);
            ScopedPrompts scope(prompts);
            return RunMeasureCommand(std::vector<std::string>(words.begin() + 1, words.end()));
        }
        if (!words.empty() && words[0] == "calibrate") {
            StandardErrorPrompts prompts(kDefaultJpegQuality);
            ScopedPrompts scope(prompts);
            return RunCalibrateCommand(std::vector<std::string>(words.begin() + 1, words.end()));
        }
        // print reads its own options and flags.
        if (!words.empty() && words[0] == "print") {
            StandardErrorPrompts prompts(kDefaultJpegQuality);
            ScopedPrompts scope(prompts);
            return RunPrintCommand(std::vector<std::string>(words.begin() + 1, words.end()));
        }
        const CommandLine line = ParseCommandLine(words);
        StandardErrorPrompts prompts(line.quality.value_or(kDefaultJpegQuality));
        ScopedPrompts scope(prompts);
        return RunCommand(line);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "halvera-cli: %s\n%s", error.what(), BatchToolUsage().c_str());
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        std::fputs("Memory error!\n", stderr);
        return kExitFailure;
    }
}

} // namespace halvera
