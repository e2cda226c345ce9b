#pragma once

#include "cli/MeasureCommand.h"

#include <string>

namespace halvera {

// The measure command's options for the results: tolerances, the output
// selection, deleting items as the results panel does, the panel's rows and
// the text and spreadsheet exports. Those whose value needs checking, or that
// load a file, are prepared (MeasureOption::prepare); the others run as given.

std::optional<MeasureStep> PrepareLoadTolerances(const std::string& path);     // --tol
std::optional<MeasureStep> PrepareSetTolerance(const std::string& value);      // --tolerance
bool SaveTolerances(MeasureSession& session, const std::string& path);         // --save-tol
std::optional<MeasureStep> PrepareLoadOutputItems(const std::string& path);    // --items
std::optional<MeasureStep> PrepareSelectOutputItems(const std::string& value); // --select
bool SaveOutputItems(MeasureSession& session, const std::string& path);        // --save-items
std::optional<MeasureStep> PrepareDeleteResultRow(const std::string& value);   // --delete
std::optional<MeasureStep> PreparePrintPanelRows(const std::string& tab);      // --panel
bool DetectErrors(MeasureSession& session, const std::string&);                // --error-detect
bool WriteResultReport(MeasureSession& session, const std::string& path);      // --report
bool WriteResultSpreadsheet(MeasureSession& session, const std::string& path); // --csv

} // namespace halvera
