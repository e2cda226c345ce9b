#pragma once

#include <string>

namespace halvera {

class CMavDoc;

// A document's measurement file (MeasurementSidecar.h) beside its picture.

// What a save or restore did, for the status bar: empty when there was
// nothing to say.
struct MeasurementFileOutcome {
    bool ok = true;
    std::string notice;
};

// Writes the document's items with the calibration in force beside the
// picture at `picturePath`, when there are items or a measurement file is
// already there. A measurement file that cannot be read (damaged, or of a
// later version) is not replaced: that is a failure, and so is a failed
// write; either leaves the file as it was.
MeasurementFileOutcome SaveMeasurementsBeside(CMavDoc& doc, const std::string& picturePath);

// Reads the measurement file beside the document's picture, if there is one:
// its items replace the document's (and count as written), and its
// calibration becomes the document's own. A file that is refused is left as
// it was, and the notice says why.
MeasurementFileOutcome RestoreMeasurementsBeside(CMavDoc& doc);

// The file name of `path` without its folders.
std::string FileNameOf(const std::string& path);

} // namespace halvera
