#pragma once

#include "measure/OutputSelection.h"
#include "measure/ToleranceTable.h"

namespace halvera {

class CMavDoc;

// Before the window of `doc` closes. Measured shapes that were never written
// to a file would be lost with it, so they are asked about: "Keep the
// measurements of NAME?" with Save, Discard and Cancel. Save writes them
// beside the image (MeasurementSidecar.h) with the calibration in force and
// the application's `tolerance` and output `selection`; an image without a
// file, or one whose measurement file is already there, asks for the file
// name first.
// True when the window may close: nothing to ask, Discard, or the file
// written; false on Cancel, a cancelled file name, or a failed write (which
// says so).
bool KeepMeasurementsBeforeClosing(CMavDoc& doc, const ToleranceTable& tolerance,
                                   const OutputSelection& selection);

} // namespace halvera
