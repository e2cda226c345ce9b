#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"
#include "image/PictureAssembler.h"

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace halvera {

class CMavDoc;

// Wrong use of the batch tool: the message is printed with the usage of the
// command and the tool exits with status 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message, std::string usage = {})
        : std::runtime_error(message), usage_(std::move(usage)) {}

    // The usage lines to print in place of the whole command's (the one
    // operation of apply, say); empty: the command's.
    const std::string& usage() const { return usage_; }

private:
    std::string usage_;
};

// The NAME=VALUE words after an operation's name. Every getter checks the
// value and throws UsageError on a missing name, a malformed number or a value
// outside the range given; names that no getter asked for are refused too.
// Numbers are parsed independently of the locale.
class OperationArguments {
public:
    explicit OperationArguments(const std::vector<std::string>& words);

    // Whether `name` was given; asking counts as using it.
    bool has(std::string_view name) const;
    int integer(std::string_view name, int min, int max) const;
    int integer(std::string_view name, int min, int max, int fallback) const;
    double real(std::string_view name, double min, double max) const;
    // A comma-separated list of exactly `count` integers, each in min..max.
    std::vector<int> integers(std::string_view name, size_t count, int min, int max) const;
    std::string text(std::string_view name) const;
    // Throws UsageError naming the first argument no getter asked for.
    void rejectUnused() const;

private:
    const std::string& raw(std::string_view name) const;

    std::map<std::string, std::string, std::less<>> values_;
    mutable std::map<std::string, bool, std::less<>> used_;
};

// The work of one operation with its arguments already read: it changes the
// document the way the menu command does and returns false after a message
// has been shown (the tool then exits with status 1).
using PreparedOperation = std::function<bool(CMavDoc& doc)>;

// One operation of `halvera-cli apply`. `prepare` reads and checks the
// arguments, throwing UsageError on a wrong one, before any file is read or
// any pixel touched; only a check that needs the image (a box inside it, say)
// is left to the prepared step, which makes it before changing anything.
struct CliOperation {
    std::string_view name;
    std::string_view usage; // e.g. "invert" or "brightness-contrast brightness=B contrast=C"
    PreparedOperation (*prepare)(const OperationArguments& arguments);
    // Null for operations whose result is the image, which the tool saves to
    // OUT as a picture file. Otherwise the operation writes OUT itself (a
    // reference file, say): this checks the name, throwing UsageError for one
    // it cannot write, before any file is read, and returns the step that
    // writes OUT after the prepared one (false after a message).
    PreparedOperation (*prepareOutput)(const std::string& path) = nullptr;
};

// `prepare` of an operation that takes no argument.
template <bool (*Run)(CMavDoc&)> PreparedOperation WithoutArguments(const OperationArguments&) {
    return Run;
}

// Each subsystem lists its operations in a file of its own in this folder.
std::span<const CliOperation> ImageCoreOperations();
std::span<const CliOperation> SelectionOperations();
std::span<const CliOperation> ProcessingOperations();
std::span<const CliOperation> WarpingOperations();
std::span<const CliOperation> ArithmeticOperations();
std::span<const CliOperation> MeasureGraphOperations();
std::span<const CliOperation> AnnotationOperations();

// Reads the picture file `path` (an input, a mask or a second image) as File
// Open reads it. A name of no picture type is refused with the reader's
// message: File Open would open nothing, but a batch run must say why it failed.
PackedDib ReadPicture(const std::string& path);
// The same, keeping the calibration the file carries.
PictureFromFile ReadPictureFile(const std::string& path);

// The whole of `text` as a plain decimal integer, or nothing; any locale.
std::optional<int> ParseInteger(std::string_view text);

// The whole of `text` as a finite decimal number, or nothing; any locale.
std::optional<double> ParseReal(std::string_view text);

// The pieces of `text` between the separators, empty ones included ("" is one
// empty piece): "1,,2" split at ',' gives "1", "" and "2".
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

// The five numbers of a calibration argument UNIT,REALX,REALY,PIXELX,PIXELY as
// written, or nothing when they are not five numbers of those kinds; each
// command applies its own limits.
struct CalibrationFields {
    int unit = 0;
    double realX = 0.0;
    double realY = 0.0;
    int pixelX = 0;
    int pixelY = 0;
};
std::optional<CalibrationFields> ParseCalibrationFields(std::string_view text);

// The JPEG quality of --quality, 0..100, or wrong usage.
int ParseQuality(const std::string& text);

// Refuses, as wrong usage, an output name of no picture type.
void RequirePictureName(const std::string& path);

// Whether the file at `path` may be replaced by a picture: one that holds
// more than a document can (pages, 16-bit samples) is kept, with the reason
// on standard error, unless `force` (the --force flag). Checked before any
// work is done, so a refused run writes nothing.
bool MayReplacePictureFile(const std::string& path, bool force);

// Makes `picture`, read from the file `path`, a new 24-bit image in `image`;
// false after a message naming the file.
bool PictureToRgb(const std::string& path, const PackedDib& picture, DibBlock& image);

// Every operation, in the order the usage text lists them; null when unknown.
const CliOperation* FindOperation(std::string_view name);
std::vector<const CliOperation*> AllOperations();

} // namespace halvera
