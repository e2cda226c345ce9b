#pragma once

#include "cli/MeasureCommand.h"

#include <string>

namespace halvera {

// The measure command's options for the results: tolerances, the output
// selection, deleting items as the results panel does, the panel's rows and
// the text and spreadsheet exports. Each runs as a MeasureOption.

bool LoadTolerances(MeasureSession& session, const std::string& path);         // --tol
bool SetTolerance(MeasureSession& session, const std::string& value);          // --tolerance
bool SaveTolerances(MeasureSession& session, const std::string& path);         // --save-tol
bool LoadOutputItems(MeasureSession& session, const std::string& path);        // --items
bool SelectOutputItems(MeasureSession& session, const std::string& value);     // --select
bool SaveOutputItems(MeasureSession& session, const std::string& path);        // --save-items
bool DeleteResultRow(MeasureSession& session, const std::string& value);       // --delete
bool PrintPanelRows(MeasureSession& session, const std::string& tab);          // --panel
bool DetectErrors(MeasureSession& session, const std::string&);                // --error-detect
bool WriteResultReport(MeasureSession& session, const std::string& path);      // --report
bool WriteResultSpreadsheet(MeasureSession& session, const std::string& path); // --csv

} // namespace halvera
