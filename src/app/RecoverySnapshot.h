#pragma once

#include "document/MeasureData.h"
#include "image/CalibrationRecord.h"
#include "image/DibImage.h"

#include <optional>
#include <string>

namespace halvera {

class CMavDoc;

// Everything a recovery copy keeps of one image, copied out of its document so
// that a worker thread can write it while the user goes on editing.
struct RecoverySnapshot {
    std::string path;              // the image's file; empty for an untitled image
    std::string title;             // the caption's name
    DibBlock image;                // 24-bit pixels
    DibBlock mask;                 // the selection, 8-bit, 255 = selected
    CalibrationRecord calibration; // the calibration in force when it was taken
    MeasureData measurements;
};

// Whether `document` holds work that only a recovery copy would keep: a
// picture other than its file's, or measured items never written to a file.
bool NeedsRecoveryCopy(const CMavDoc& document);

// Copies `document`'s pixels, selection, measured items, calibration, file and
// title. Nothing when the copies cannot be allocated (the next autosave tries
// again). Taken in the thread that edits the document: two block copies,
// each shared among the pixel workers.
std::optional<RecoverySnapshot> TakeRecoverySnapshot(const CMavDoc& document);

} // namespace halvera
