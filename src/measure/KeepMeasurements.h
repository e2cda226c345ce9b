#pragma once

namespace halvera {

class CMavDoc;

// Before the window of `doc` closes. Measured shapes that were never written
// to a file would be lost with it, so they are asked about: "Keep the
// measurements of NAME?" with Save, Discard and Cancel. Save writes them
// beside the image as its measurement file (MeasurementSidecar.h) with the
// calibration in force; an image without a file, or one whose measurement
// file is there but cannot be read (and is therefore not replaced), asks for
// the file name first.
// True when the window may close: nothing to ask, Discard, or the file
// written; false on Cancel, a cancelled file name, or a failed write (which
// says so).
bool KeepMeasurementsBeforeClosing(CMavDoc& doc);

// Writes the measurement file as the Save answer above does, asking for the
// file name in the same cases. False when cancelled or not written (which
// says so).
bool SaveMeasurementsFile(CMavDoc& doc);

} // namespace halvera
