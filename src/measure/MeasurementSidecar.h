#pragma once

#include "document/MeasureData.h"
#include "measure/OutputSelection.h"
#include "measure/RulerCalibration.h"
#include "measure/ToleranceTable.h"

#include <string>

namespace halvera {

// The measurements of an image kept in a file beside it, so that they outlive
// its window. This is the one place that names that file and decides what
// goes into it.

// How measured values are written: the calibration in force, the
// application's tolerances and its output items, as the results panel uses them.
struct ResultOutputRules {
    MeasureScale scale;
    const ToleranceTable& tolerance;
    const OutputSelection& selection;
};

// The file beside the image at `imagePath`: "cells.bmp" -> "cells.bmp.measure.csv".
std::string MeasurementSidecarPath(const std::string& imagePath);

// Writes `data` to `path` as the results panel's CSV export, replacing the
// file whole or leaving it untouched; false when it could not be written.
bool WriteMeasurementSidecar(const std::string& path, const MeasureData& data,
                             const ResultOutputRules& rules);

} // namespace halvera
