#pragma once

#include "cli/CliOperation.h"
#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "measure/EdgeSearch.h"
#include "measure/OutputSelection.h"
#include "measure/RulerCalibration.h"
#include "measure/ToleranceTable.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvera {

// What `halvera-cli measure` works on: default settings of its own (never the
// user's), the calibration kept in them, and one document whose measurement
// data receives the items.
struct MeasureSession {
    AppSettings settings;
    RulerCalibration calibration{settings};
    CMavDoc doc{settings};
    // What the results panel judges and outputs with: the tolerances (all
    // zero), the output selection (every item) and its error detection (off).
    ToleranceTable tolerance;
    OutputSelection output;
    bool errorDetection = false;
    // The picture edge items are measured on (--image) and how far from
    // each given position an edge is searched (--snap).
    bool hasPicture = false;
    // The calibration that picture's file carries, if any.
    std::optional<CalibrationRecord> pictureCalibration;
    // The file of that picture, named in the measurement file --save-measurements writes.
    std::string picturePath;
    double snapRadius = kDefaultSnapRadius;
};

// What one option of the measure command does, its value already read and
// checked: returns false after its message has been shown (exit status 1).
using MeasureStep = std::function<bool(MeasureSession& session)>;

// What the value of an option names.
enum class OptionFile {
    None,
    Read,    // a file the option loads (read while the options are checked)
    Written, // a file the option writes when it runs
};

// One option of the measure command. Every option's value is checked, and
// every file an option loads is read, before any option runs, so a wrong
// value or a missing file writes nothing. Options then run in the order
// given on the command line, after every item has been appended; the
// options marked `first` take effect before the items are appended.
struct MeasureOption {
    std::string_view name;  // "--cal"
    std::string_view value; // the value's name in the usage text; empty: takes no value
    std::string_view help;
    // Checks the value (UsageError on a malformed one) and reads the file it
    // loads; nothing after the message of a file that cannot be read.
    std::optional<MeasureStep> (*prepare)(const std::string& value);
    // Takes effect before the items and every other option, wherever it stands.
    bool first = false;
    OptionFile file = OptionFile::None;
};

// `prepare` of an option whose value needs no checking: the step runs
// `Run(session, value)`.
template <bool (*Run)(MeasureSession&, const std::string&)>
std::optional<MeasureStep> RunLater(const std::string& value) {
    return MeasureStep([value](MeasureSession& session) { return Run(session, value); });
}

// Every option of the measure command, in the order the usage text lists them.
std::span<const MeasureOption> MeasureOptions();

// Appends one ITEM word ("point:X,Y", "line:SX,SY,EX,EY", ...) to the
// session's measurement data with the tools' refusal rules (a refused item is
// skipped); throws UsageError on a malformed word. An edge item
// (EdgeMeasureItems.h) is measured on the session's picture; false when it
// found no edge, after its message.
bool AppendMeasureItem(MeasureSession& session, std::string_view word);
// The same into any document's measurement data, for items without a picture.
void AppendMeasureItem(MeasureData& data, std::string_view word);

// The five numbers of a `--calibration UNIT,REALX,REALY,PIXELX,PIXELY` value;
// throws UsageError on a malformed value.
CalibrationFields ParseCalibrationArgument(const std::string& value);
// Stores them as the Calibrate panel's OK stores them (with the settings' limits).
void StoreCalibrationFields(RulerCalibration& calibration, const CalibrationFields& fields);
// Both at once.
void SetCalibrationArgument(RulerCalibration& calibration, const std::string& value);

// --calibration-from-image: makes `carried`, the calibration the picture file
// `path` carries, the one in force; false after a message when it carries none.
bool UsePictureCalibration(RulerCalibration& calibration, const std::string& path,
                           const std::optional<CalibrationRecord>& carried);
// A command takes --calibration or --calibration-from-image, not both.
void RefuseTwoCalibrations(std::string_view command, bool given, bool fromImage);

// Runs `measure [OPTIONS] ITEM...` on the words after the command's name.
int RunMeasureCommand(const std::vector<std::string>& words);

// The usage lines of the measure command.
std::string MeasureCommandUsage();

} // namespace halvera
