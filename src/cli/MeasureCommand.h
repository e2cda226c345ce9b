#pragma once

#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "measure/EdgeSearch.h"
#include "measure/OutputSelection.h"
#include "measure/RulerCalibration.h"
#include "measure/ToleranceTable.h"

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
    double snapRadius = kDefaultSnapRadius;
};

// One option of the measure command. The options marked `first` run before
// the items are appended, the others in the order given on the command
// line after every item has been appended; `run` returns false after its
// message has been shown (exit status 1) and throws UsageError on a
// malformed value.
struct MeasureOption {
    std::string_view name;  // "--cal"
    std::string_view value; // the value's name in the usage text; empty: takes no value
    std::string_view help;
    bool (*run)(MeasureSession& session, const std::string& value);
    // Takes effect before the items and every other option, wherever it stands.
    bool first = false;
};

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

// Stores a `--calibration UNIT,REALX,REALY,PIXELX,PIXELY` value as the
// Calibrate panel's OK stores it (with the settings' limits); throws
// UsageError on a malformed value.
void SetCalibrationArgument(RulerCalibration& calibration, const std::string& value);

// Runs `measure [OPTIONS] ITEM...` on the words after the command's name.
int RunMeasureCommand(const std::vector<std::string>& words);

// The usage lines of the measure command.
std::string MeasureCommandUsage();

} // namespace halvera
