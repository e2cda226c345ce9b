#include "cli/RecipeBatchCommand.h"

#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/CommandWords.h"
#include "image/PictureFolder.h"
#include "image/RowBands.h"
#include "measure/InspectionCsv.h"
#include "measure/InspectionSummary.h"
#include "measure/RecipeBatch.h"
#include "measure/RecipeFile.h"
#include "measure/ResultExport.h"
#include "platform/UserPrompts.h"

#include <cstdio>
#include <filesystem>
#include <optional>

namespace halvera {

namespace {

constexpr CommandOption kInspectOptions[] = {
    {"--csv"}, {"--summary"}, {"--jobs"}, {"--datum-radius"}};

constexpr int kMostJobs = 256;
constexpr double kLargestDatumRadius = 1000.0;

struct InspectRequest {
    std::string recipePath;
    std::vector<std::string> images;
    std::optional<std::string> csv;
    std::optional<std::string> summary;
    int jobs = 1;
    InspectionSettings settings;
};

int ParseJobs(const std::optional<std::string>& text) {
    if (!text)
        return PixelWorkerCount();
    const std::optional<int> jobs = ParseInteger(*text);
    if (!jobs || *jobs < 1 || *jobs > kMostJobs)
        throw UsageError("--jobs takes a whole number from 1 to 256, not '" + *text + "'");
    return *jobs;
}

double ParseDatumRadius(const std::optional<std::string>& text) {
    if (!text)
        return kDefaultDatumRadius;
    const std::optional<double> radius = ParseReal(*text);
    if (!radius || !(*radius > 0.0) || *radius > kLargestDatumRadius)
        throw UsageError("--datum-radius takes a radius above 0 and at most 1000 pixels, not '" +
                         *text + "'");
    return *radius;
}

bool SamePath(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::weakly_canonical(a, error) ==
           std::filesystem::weakly_canonical(b, error);
}

// An output must not replace the recipe, a picture or the other output.
void RefuseOverwritingInputs(const InspectRequest& request) {
    std::vector<std::string> taken = request.images;
    taken.push_back(request.recipePath);
    for (const auto* output : {&request.csv, &request.summary}) {
        if (!*output)
            continue;
        for (const std::string& input : taken)
            if (SamePath(**output, input))
                throw UsageError("the output " + **output + " would replace an input");
        taken.push_back(**output);
    }
}

InspectRequest ParseRequest(const std::vector<std::string>& words) {
    const CommandWords split = SplitCommandWords("inspect", kInspectOptions, words);
    if (split.positional.size() < 2)
        throw UsageError("inspect needs a recipe and at least one picture");
    InspectRequest request;
    request.recipePath = split.positional[0];
    request.images.assign(split.positional.begin() + 1, split.positional.end());
    request.csv = split.once("--csv");
    request.summary = split.once("--summary");
    request.jobs = ParseJobs(split.once("--jobs"));
    request.settings.datumRadius = ParseDatumRadius(split.once("--datum-radius"));
    return request;
}

// A folder among the IMAGE words stands for its pictures in name order
// (PictureFolder.h), at its place among the others; any other word is a
// picture file. False, after saying why, when a folder cannot be read or
// holds no picture.
bool ExpandFolders(std::vector<std::string>& images) {
    std::vector<std::string> pictures;
    for (const std::string& word : images) {
        std::error_code error;
        if (!std::filesystem::is_directory(word, error)) {
            pictures.push_back(word);
            continue;
        }
        const FolderPictures folder = PicturesInFolder(word);
        const std::string problem = FolderPicturesProblem(word, folder);
        if (!problem.empty()) {
            ShowMessage(problem, MessageIcon::Stop);
            return false;
        }
        pictures.insert(pictures.end(), folder.paths.begin(), folder.paths.end());
    }
    images = std::move(pictures);
    return true;
}

// A file can be written there: its folder exists.
bool FolderExistsFor(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() || std::filesystem::is_directory(folder);
}

bool OutputsCanBeWritten(const InspectRequest& request) {
    for (const auto* output : {&request.csv, &request.summary})
        if (*output && !FolderExistsFor(**output)) {
            ShowMessage("Can not write the file " + **output + "!", MessageIcon::Stop);
            return false;
        }
    return true;
}

LoadedPicture LoadPicture(const std::string& path) {
    LoadedPicture loaded;
    const PackedDib picture = ReadPicture(path);
    if (!picture || !PictureToRgb(path, picture, loaded.block)) {
        loaded.failure = "the picture could not be read";
        return loaded;
    }
    loaded.picture = loaded.block.dib();
    return loaded;
}

std::string ProgressLine(size_t index, size_t count, const std::string& image,
                         const PictureInspection& result) {
    std::string verdict;
    if (result.Failed()) {
        verdict = "failed: " + result.failure;
    } else {
        size_t errors = 0;
        for (const InspectedValue& value : result.values)
            errors += value.verdict == Verdict::Error ? 1 : 0;
        verdict = errors == 0 ? "pass" : std::to_string(errors) + " errors";
        for (const std::string& miss : result.misses)
            verdict += "; " + miss;
    }
    return "[" + std::to_string(index + 1) + "/" + std::to_string(count) + "] " + image + ": " +
           verdict + "\n";
}

bool WriteOutput(const std::optional<std::string>& path, const std::string& text) {
    if (!path || WriteResultFile(*path, text))
        return true;
    ShowMessage("Can not write the file " + *path + "!", MessageIcon::Stop);
    return false;
}

} // namespace

int RunInspectCommand(const std::vector<std::string>& words) {
    InspectRequest request = ParseRequest(words);
    if (!ExpandFolders(request.images))
        return kExitFailure;
    RefuseOverwritingInputs(request);
    const RecipeRead read = ReadRecipeFile(request.recipePath);
    if (!read.recipe) {
        ShowMessage("Can not read the recipe " + request.recipePath + ": " + read.problem,
                    MessageIcon::Stop);
        return kExitFailure;
    }
    if (!OutputsCanBeWritten(request))
        return kExitFailure;
    const InspectionRecipe& recipe = *read.recipe;
    std::string rows = InspectionCsvHeader();
    InspectionSummary summary;
    bool anyError = false;
    InspectPictures(
        recipe, request.settings, request.images.size(), request.jobs,
        [&](size_t index) { return LoadPicture(request.images[index]); },
        [&](size_t index, const PictureInspection& result) {
            const std::string& image = request.images[index];
            std::fputs(ProgressLine(index, request.images.size(), image, result).c_str(), stderr);
            rows += InspectionCsvRows(image, recipe, result);
            summary.Add(result);
            anyError = anyError || result.AnyError();
            return true;
        });
    if (!WriteOutput(request.csv, rows) ||
        !WriteOutput(request.summary, InspectionSummaryCsv(recipe, summary.Summarise(recipe))))
        return kExitFailure;
    return anyError ? kExitInspectionFailed : kExitSuccess;
}

std::string InspectCommandUsage() {
    return "       halvera-cli inspect RECIPE IMAGE... [--csv OUT] [--summary OUT] [--jobs N]\n"
           "        [--datum-radius R]\n"
           "     runs the recipe on each picture: finds the part by the recipe's datum\n"
           "     (searched within R pixels, default 40), measures every item there and\n"
           "     judges it; --csv writes Image,Item,Kind,Name,Value,Standard,Upper,Lower,\n"
           "     Verdict per picture and value, --summary n,mean,sd,min,max,Cp,Cpk per\n"
           "     value; one progress line per picture on standard error; --jobs N\n"
           "     pictures at once (default: the processor count), output in input order;\n"
           "     status 3 when a value is an Error or a picture failed; an IMAGE that is a\n"
           "     folder stands for its pictures (.bmp, .jpg, .jpeg, .png, .tif, .tiff in\n"
           "     any case) in name order, not those of its sub-folders\n";
}

} // namespace halvera
