#include "cli/ScanCommands.h"

#include "acquire/SaneBackend.h"
#include "acquire/ScanOptionValue.h"
#include "acquire/ScannerMessages.h"
#include "acquire/ScannerThread.h"
#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/CommandWords.h"
#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "image/PictureFiles.h"
#include "platform/StandardErrorPrompts.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <utility>

namespace halvera {

namespace {

constexpr int kDefaultJpegQuality = 75;

struct ScanRequest {
    std::string output;
    std::string source; // empty: the first device
    // Option names and values as given, in the order they are set.
    std::vector<std::pair<std::string, std::string>> settings;
    int quality = kDefaultJpegQuality;
    bool force = false;
};

std::pair<std::string, std::string> SplitSetting(const std::string& word) {
    const size_t equals = word.find('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError("--option takes NAME=VALUE, not '" + word + "'");
    return {word.substr(0, equals), word.substr(equals + 1)};
}

constexpr CommandOption kScanOptions[] = {
    {"--source"}, {"--resolution"}, {"--mode"}, {"--option"}, {"--quality"}, {"--force", false}};

ScanRequest ParseScanRequest(const std::vector<std::string>& words) {
    const CommandWords split = SplitCommandWords(
        "scan", kScanOptions, std::vector<std::string>(words.begin() + 1, words.end()));
    if (split.positional.size() != 1)
        throw UsageError("scan takes one file: scan OUT");
    ScanRequest request;
    request.output = split.positional[0];
    RequirePictureName(request.output);
    request.source = split.once("--source").value_or("");
    if (const std::optional<std::string> mode = split.once("--mode"))
        request.settings.emplace_back(kScanOptionMode, *mode);
    if (const std::optional<std::string> resolution = split.once("--resolution"))
        request.settings.emplace_back(kScanOptionResolution, *resolution);
    for (const auto& [name, value] : split.options)
        if (name == "--option")
            request.settings.push_back(SplitSetting(value));
    if (const std::optional<std::string> quality = split.once("--quality"))
        request.quality = ParseQuality(*quality);
    request.force = split.has("--force");
    return request;
}

void PrintError(const std::string& text) {
    std::fprintf(stderr, "halvera-cli: %s\n", text.c_str());
}

std::string OptionNames(const std::vector<ScanOption>& options) {
    std::string names;
    for (const ScanOption& option : options) {
        if (!option.editable())
            continue;
        names += names.empty() ? "" : ", ";
        names += option.name;
    }
    return names;
}

// Sets one option as the device shows it now; false after saying why not.
bool ApplySetting(ScannerThread& scanner, const std::string& device,
                  const std::pair<std::string, std::string>& setting,
                  std::vector<ScanOption>& options) {
    const auto& [name, text] = setting;
    const ScanOption* option = FindScanOption(options, name);
    if (!option) {
        PrintError("the scanner " + device + " has no option " + name +
                   " (it has: " + OptionNames(options) + ")");
        return false;
    }
    const ParsedScanValue parsed = ParseScanValue(*option, text);
    if (!parsed.ok()) {
        PrintError(parsed.error);
        return false;
    }
    std::future<SetOptionResult> answer = scanner.setOption(name, parsed.value);
    const std::optional<SetOptionResult> result = AwaitResult(answer, kScannerCallTimeout);
    if (!result) {
        PrintError("the scanner did not answer when " + name + " was set");
        return false;
    }
    options = result->options;
    if (!result->error.empty()) {
        PrintError(result->error);
        return false;
    }
    if (result->inexact) {
        const ScanOption* set = FindScanOption(options, name);
        PrintError("the scanner set " + name + " to " +
                   (set ? FormatScanValue(set->value) : std::string("a nearby value")) +
                   " instead of " + text);
    }
    return true;
}

int RunScanners(const std::vector<std::string>& words) {
    if (words.size() != 1)
        throw UsageError("scanners takes no arguments");
    ScannerThread scanner(MakeSaneBackend());
    std::future<ScannerDeviceList> answer = scanner.listDevices();
    const std::optional<ScannerDeviceList> list = AwaitResult(answer, kScannerCallTimeout);
    if (!list || list->devices.empty()) {
        ReportScannerProblem(list ? list->error : kScannerSilentMessage);
        return kExitFailure;
    }
    for (const ScannerDevice& device : list->devices)
        std::printf("%s\t%s\t%s\t%s\n", device.name.c_str(), device.vendor.c_str(),
                    device.model.c_str(), device.type.c_str());
    return kExitSuccess;
}

int RunScan(const ScanRequest& request) {
    if (!MayReplacePictureFile(request.output, request.force))
        return kExitFailure;
    ScannerThread scanner(MakeSaneBackend());
    std::future<OpenedScanner> answer = scanner.openDevice(request.source);
    const std::optional<OpenedScanner> opened = AwaitResult(answer, kScannerCallTimeout);
    if (!opened || !opened->opened) {
        ReportScannerProblem(opened ? opened->error : kScannerSilentMessage);
        return kExitFailure;
    }
    std::vector<ScanOption> options = opened->options;
    for (const auto& setting : request.settings) {
        if (!ApplySetting(scanner, opened->name, setting, options))
            return kExitFailure;
    }
    ScanJob job = scanner.scan();
    ScanOutcome outcome = AwaitScan(job);
    if (outcome.status == ScanStatus::Cancelled) {
        PrintError("the scan was cancelled");
        return kExitFailure;
    }
    if (outcome.status != ScanStatus::Done) {
        ReportScanOutcome(outcome);
        return kExitFailure;
    }
    // The picture becomes an image as a scan does in the desktop program,
    // with the document's checks and messages.
    AppSettings settings;
    CMavDoc doc(settings);
    if (!doc.OnNewDocument(std::move(outcome.picture)))
        return kExitFailure;
    return doc.SaveByExtension(request.output, CMavDoc::RicherFile::Replace) ? kExitSuccess
                                                                             : kExitFailure;
}

} // namespace

bool IsScannerCommand(const std::string& command) {
    return command == "scanners" || command == "scan";
}

int RunScannerCommand(const std::vector<std::string>& words) {
    if (words.empty() || !IsScannerCommand(words[0]))
        throw UsageError("not a scanner command");
    if (words[0] == "scanners") {
        StandardErrorPrompts prompts;
        ScopedPrompts scope(prompts);
        return RunScanners(words);
    }
    const ScanRequest request = ParseScanRequest(words);
    StandardErrorPrompts prompts(request.quality);
    ScopedPrompts scope(prompts);
    return RunScan(request);
}

std::string ScannerCommandsUsage() {
    return "       halvera-cli scanners\n"
           "       halvera-cli scan OUT [--source NAME] [--resolution DPI] [--mode Color|Gray] "
           "[--option NAME=VALUE ...] [--quality Q] [--force]\n";
}

} // namespace halvera
