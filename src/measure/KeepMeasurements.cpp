#include "measure/KeepMeasurements.h"

#include "document/MavDoc.h"
#include "measure/CalFile.h"
#include "measure/MeasurementFiles.h"
#include "measure/MeasurementSidecar.h"
#include "measure/ResultExport.h"
#include "platform/UserPrompts.h"

#include <filesystem>
#include <optional>

namespace halvera {

namespace {

// Whether the measurement file at `path` may be replaced unasked: there is
// none, or it is one this program reads (the picture's own).
bool MayReplace(const std::string& path) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    return !error && (!exists || ReadMeasurementSidecar(path).record.has_value());
}

// Where the measurements go: beside the image when that file may be
// replaced; else (no image file, or a measurement file that cannot be read)
// where the user says, the file beside proposed.
std::optional<std::string> MeasurementFileFor(const CMavDoc& doc) {
    const std::string beside =
        MeasurementSidecarPath(doc.path().empty() ? doc.title() : doc.path());
    if (!doc.path().empty() && MayReplace(beside))
        return beside;
    FileDialogRequest request;
    request.save = true;
    request.title = "Save the measurements of " + doc.title();
    request.filter = "Measurements (*.json)|*.json||";
    request.proposedName = beside;
    request.defaultExtension = "json";
    request.promptOverwrite = true;
    request.pathMustExist = true;
    return Prompts().askFileName(request);
}

} // namespace

bool SaveMeasurementsFile(CMavDoc& doc) {
    const std::optional<std::string> path = MeasurementFileFor(doc);
    if (!path)
        return false;
    RulerCalibration calibration(doc.settings());
    const MeasurementRecord record{FileNameOf(doc.path().empty() ? doc.title() : doc.path()),
                                   NamedCalibrationInForce(calibration), doc.measureData()};
    if (!WriteMeasurementSidecar(*path, record)) {
        ShowMessage("Cannot save the measurements to " + *path, MessageIcon::Warning);
        return false;
    }
    doc.MeasurementsWritten();
    return true;
}

bool KeepMeasurementsBeforeClosing(CMavDoc& doc) {
    if (!HasOutputData(doc.measureData()) || doc.MeasurementsAsWritten())
        return true;
    const MessageAnswer answer =
        ShowMessage("Keep the measurements of " + doc.title() + "?", MessageIcon::Warning,
                    MessageButtons::SaveDiscardCancel);
    switch (answer) {
    case MessageAnswer::Discard:
        return true;
    case MessageAnswer::Save:
        return SaveMeasurementsFile(doc);
    default:
        return false;
    }
}

} // namespace halvera
