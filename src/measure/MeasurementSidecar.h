#pragma once

#include "document/MeasureData.h"
#include "image/CalibrationRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvera {

// The measurements of a picture kept in a JSON file beside it, so that they
// outlive its window: every measured item with its sub-pixel elements and
// edge fit, the calibration the items were measured with and its preset's
// name, and the picture's file name. This is the one place that names that
// file and knows its layout (README, "Measurement files").

// What a measurement file holds.
struct MeasurementRecord {
    std::string image; // the picture's file name without its folder; may be empty
    NamedCalibration calibration;
    MeasureData items;
};

// The file beside the picture at `imagePath`: "cells.png" -> "cells.png.measure.json".
std::string MeasurementSidecarPath(const std::string& imagePath);

// The file's text: a "format" and "version" header, then the record. Reals
// are written so that they read back to the same double.
std::string MeasurementSidecarText(const MeasurementRecord& record);

// A measurement file read back: the record, or why it was refused.
struct MeasurementFileRead {
    std::optional<MeasurementRecord> record;
    std::string problem;
};

// Refuses text that is not JSON, another format, a version after 1, an item
// of an unknown kind, or any field out of its range, naming the first fault.
MeasurementFileRead ParseMeasurementSidecar(std::string_view text);
// Reads and parses the file at `path`; a file that cannot be opened is
// refused too.
MeasurementFileRead ReadMeasurementSidecar(const std::string& path);
// Replaces the file at `path` whole, or leaves it untouched and gives false.
bool WriteMeasurementSidecar(const std::string& path, const MeasurementRecord& record);

} // namespace halvera
