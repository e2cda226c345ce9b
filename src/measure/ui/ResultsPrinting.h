#pragma once

#include "document/MeasureKind.h"
#include "measure/OutputSelection.h"
#include "measure/ResultRows.h"

#include <ctime>
#include <string>
#include <vector>

class QPrinter;

namespace halvera {

// Prints the rows of the `kind` tab as the panel shows them, as the job
// "Halvera" on `printer`, in the printer's default font: page after page of L
// rows under the title, date, rule and column headings, each with its footer
// (ResultsPageLayout). False when the job could not start or a page failed; a
// failed page aborts the job.
bool PrintResults(QPrinter& printer, MeasureKind kind, const OutputSelection& selection,
                  const std::vector<ResultRowTexts>& rows, const std::tm& now);

} // namespace halvera
