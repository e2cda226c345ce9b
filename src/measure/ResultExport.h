#pragma once

#include "document/MeasureData.h"
#include "image/AppSettings.h"
#include "image/CalibrationRecord.h"
#include "measure/OutputSelection.h"
#include "measure/RulerCalibration.h"
#include "measure/ToleranceTable.h"

#include <ctime>
#include <string>

namespace halvera {

// The two files the measured results are handed on in. Both take the values
// with the scale given and always judge them against the tolerances.

// What the results were measured on: the picture's file name (empty when it
// has none) and the calibration with its preset's name.
struct MeasuredOn {
    std::string image;
    NamedCalibration calibration;
    MeasureScale scale() const;
};

// The picture at `picturePath` (its file name only) and the calibration in
// force in `settings`.
MeasuredOn MeasuredOnPicture(const std::string& picturePath, const AppSettings& settings);

// True when the data holds a point, line, circle, rectangle or angle (point
// pairs alone are nothing to output).
bool HasOutputData(const MeasureData& data);

// The text export (.Txt), bytes with line feeds: a line feed; the date line;
// for each kind with items, in tab order, two line feeds and then, item by
// item in storage order, one line per selected value of the kind in item
// number order, "Name = %0.3f(%0.3fPass)" or "...Error)"; a final line feed.
std::string ResultReportText(const MeasureData& data, MeasureScale scale,
                             const ToleranceTable& tolerance, const OutputSelection& selection,
                             const std::tm& now);

// The spreadsheet export (.csv): a header "Image,Unit,XScale,YScale,
// Calibration,Kind,No," and for every selected item of every kind its output
// name and a judgement column; one row per item in tab then storage order
// with what it was measured on (file name, unit, the two scales as "%.6f",
// the preset's name or nothing; a text holding a comma or quote is quoted),
// its kind's tab name, its number from 1, and for its own kind's selected
// items the value ("%0.3f", decimal point) and "Pass" or "Error"; the cells
// of other kinds' items stay empty. Every row says what it was measured on so
// that the rows of many pictures can be put in one file.
std::string ResultCsvText(const MeasureData& data, const MeasuredOn& on,
                          const ToleranceTable& tolerance, const OutputSelection& selection);

// Replaces the file at `path` by `text` whole; false when it could not be written.
bool WriteResultFile(const std::string& path, const std::string& text);

// "Save" of the results panel: "No data to output!" without items, else the
// save dialog for a text file ("Result", .Txt) or a spreadsheet (.csv, chosen
// by the name's ending) and the file, under the wait cursor. A file that
// cannot be written is left alone without a message. True when the file was
// written.
bool SaveResultsCommand(const MeasureData& data, const MeasuredOn& on,
                        const ToleranceTable& tolerance, const OutputSelection& selection);

// Messages of the results output.
inline constexpr const char* kNoDataToOutput = "No data to output!";
inline constexpr const char* kNoDataToPrint = "There is no data to output!";

} // namespace halvera
