#include "cli/CliOperation.h"

#include "image/ConvertPackedDib.h"
#include "image/PictureFileContents.h"
#include "image/PictureFiles.h"
#include "image/ReadFailure.h"
#include "platform/UserPrompts.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace halvera {

namespace {

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

int CheckedInteger(std::string_view name, std::string_view text, int min, int max) {
    const std::optional<int> value = ParseInteger(text);
    if (!value)
        throw UsageError(std::string(name) + " must be a whole number, not " + Quoted(text));
    if (*value < min || *value > max)
        throw UsageError(std::string(name) + " must lie in " + std::to_string(min) + ".." +
                         std::to_string(max) + ", not " + std::string(text));
    return *value;
}

} // namespace

std::optional<int> ParseInteger(std::string_view text) {
    int value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

std::optional<double> ParseReal(std::string_view text) {
    double value = 0.0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const size_t at = text.find(separator);
        fields.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return fields;
        text.remove_prefix(at + 1);
    }
}

std::optional<CalibrationFields> ParseCalibrationFields(std::string_view text) {
    const std::vector<std::string_view> fields = SplitFields(text, ',');
    if (fields.size() != 5)
        return std::nullopt;
    const std::optional<int> unit = ParseInteger(fields[0]);
    const std::optional<double> realX = ParseReal(fields[1]);
    const std::optional<double> realY = ParseReal(fields[2]);
    const std::optional<int> pixelX = ParseInteger(fields[3]);
    const std::optional<int> pixelY = ParseInteger(fields[4]);
    if (!unit || !realX || !realY || !pixelX || !pixelY)
        return std::nullopt;
    return CalibrationFields{*unit, *realX, *realY, *pixelX, *pixelY};
}

int ParseQuality(const std::string& text) {
    const std::optional<int> quality = ParseInteger(text);
    if (!quality || *quality < 0 || *quality > 100)
        throw UsageError("--quality must be a whole number in 0..100, not '" + text + "'");
    return *quality;
}

OperationArguments::OperationArguments(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        const size_t equals = word.find('=');
        if (equals == std::string::npos || equals == 0)
            throw UsageError("expected NAME=VALUE, not " + Quoted(word));
        std::string name = word.substr(0, equals);
        if (values_.contains(name))
            throw UsageError(name + " is given twice");
        used_[name] = false;
        values_[std::move(name)] = word.substr(equals + 1);
    }
}

bool OperationArguments::has(std::string_view name) const {
    const auto found = used_.find(name);
    if (found == used_.end())
        return false;
    found->second = true;
    return true;
}

const std::string& OperationArguments::raw(std::string_view name) const {
    const auto found = values_.find(name);
    if (found == values_.end())
        throw UsageError("missing " + std::string(name) + "=VALUE");
    used_.find(name)->second = true;
    return found->second;
}

int OperationArguments::integer(std::string_view name, int min, int max) const {
    return CheckedInteger(name, raw(name), min, max);
}

int OperationArguments::integer(std::string_view name, int min, int max, int fallback) const {
    return has(name) ? integer(name, min, max) : fallback;
}

double OperationArguments::real(std::string_view name, double min, double max) const {
    const std::string& text = raw(name);
    const std::optional<double> value = ParseReal(text);
    if (!value)
        throw UsageError(std::string(name) + " must be a decimal number, not " + Quoted(text));
    if (*value < min || *value > max) {
        char range[64];
        const auto minEnd = std::to_chars(range, range + 30, min).ptr;
        const auto maxEnd = std::to_chars(range + 32, range + 62, max).ptr;
        throw UsageError(std::string(name) + " must lie in " + std::string(range, minEnd) + ".." +
                         std::string(range + 32, maxEnd) + ", not " + text);
    }
    return *value;
}

std::vector<int> OperationArguments::integers(std::string_view name, size_t count, int min,
                                              int max) const {
    const std::string& text = raw(name);
    std::vector<int> values;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string_view item = std::string_view(text).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start);
        values.push_back(CheckedInteger(name, item, min, max));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (values.size() != count)
        throw UsageError(std::string(name) + " needs " + std::to_string(count) +
                         " comma-separated numbers, not " + Quoted(text));
    return values;
}

std::string OperationArguments::text(std::string_view name) const {
    return raw(name);
}

void OperationArguments::rejectUnused() const {
    for (const auto& [name, used] : used_)
        if (!used)
            throw UsageError("this operation takes no argument " + Quoted(name));
}

void RequirePictureName(const std::string& path) {
    if (PictureFileTypeOf(path) == PictureFileType::None)
        throw UsageError(std::string("the output file must end in ") + kPictureEndings + ": " +
                         path);
}

bool MayReplacePictureFile(const std::string& path, bool force) {
    const std::string warning = InspectPictureFile(path).ReplaceWarning();
    if (force || warning.empty())
        return true;
    ShowMessage(path + ": " + warning + " Give --force to save anyway.", MessageIcon::Warning);
    return false;
}

PictureFromFile ReadPictureFile(const std::string& path) {
    if (PictureFileTypeOf(path) == PictureFileType::None) {
        ReportReadFailure(path, {ReadProblem::UnknownName, {}});
        return {};
    }
    PictureFromFile file = OpenPictureFile(path);
    // The reader's remark (a 16-bit picture's stretch) is what the desktop
    // shows in its status bar; here it goes with the messages.
    if (file.picture && !file.note.empty())
        std::fprintf(stderr, "%s: %s\n", path.c_str(), file.note.c_str());
    return file;
}

PackedDib ReadPicture(const std::string& path) {
    return std::move(ReadPictureFile(path).picture);
}

bool PictureToRgb(const std::string& path, const PackedDib& picture, DibBlock& image) {
    if (const std::optional<ReadFailure> failure = PackedDibFailure(picture)) {
        ReportReadFailure(path, *failure);
        return false;
    }
    const BitmapInfoHeader& header = *picture.header();
    if (!CreateRgb(image, header.biWidth, header.biHeight)) {
        ShowMessage("Memory error!", MessageIcon::Stop);
        return false;
    }
    // Converting a picture that PackedDibFailure accepts into an image of its
    // own size cannot fail.
    ConvertPackedDib(picture, image.dib());
    return true;
}

const CliOperation* FindOperation(std::string_view name) {
    for (const CliOperation* operation : AllOperations())
        if (operation->name == name)
            return operation;
    return nullptr;
}

std::vector<const CliOperation*> AllOperations() {
    std::vector<const CliOperation*> all;
    for (const auto list : {ImageCoreOperations(), SelectionOperations(), ProcessingOperations(),
                            ArithmeticOperations(), WarpingOperations(), AnnotationOperations(),
                            MeasureGraphOperations()})
        for (const CliOperation& operation : list)
            all.push_back(&operation);
    return all;
}

} // namespace halvera
