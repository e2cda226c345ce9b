#pragma once

#include "measure/AcrossImagesTable.h"

#include <ctime>
#include <vector>

class QPrinter;

namespace halvera {

// Prints the "Results across images" panel as the job "Halvera" on
// `printer`, in the printer's default font: the title and date, the
// statistics per value, then one line per picture and value, continued
// page after page. False when the job could not start or a page failed.
bool PrintAcrossImages(QPrinter& printer, const std::vector<SummaryRow>& summary,
                       const std::vector<AcrossImagesRow>& rows, const std::tm& now);

} // namespace halvera
