#include "measure/KeepMeasurements.h"

#include "document/MavDoc.h"
#include "measure/MeasurementSidecar.h"
#include "measure/ResultExport.h"
#include "platform/UserPrompts.h"

#include <filesystem>
#include <optional>

namespace halvera {

namespace {

// Where the measurements go: beside the image when that file is free; else
// (no image file, or a measurement file that would be replaced) where the
// user says, the free name or the existing file proposed.
std::optional<std::string> MeasurementFileFor(const CMavDoc& doc) {
    const std::string beside =
        MeasurementSidecarPath(doc.path().empty() ? doc.title() : doc.path());
    std::error_code error;
    if (!doc.path().empty() && !std::filesystem::exists(beside, error) && !error)
        return beside;
    FileDialogRequest request;
    request.save = true;
    request.title = "Save the measurements of " + doc.title();
    request.filter = "CSV (*.csv)|*.csv||";
    request.proposedName = beside;
    request.defaultExtension = "csv";
    request.promptOverwrite = true;
    request.pathMustExist = true;
    return Prompts().askFileName(request);
}

bool SaveMeasurements(CMavDoc& doc, const ResultOutputRules& rules) {
    const std::optional<std::string> path = MeasurementFileFor(doc);
    if (!path)
        return false;
    if (!WriteMeasurementSidecar(*path, doc.measureData(), rules)) {
        ShowMessage("Cannot save the measurements to " + *path, MessageIcon::Warning);
        return false;
    }
    doc.MeasurementsWritten();
    return true;
}

} // namespace

bool KeepMeasurementsBeforeClosing(CMavDoc& doc, const ToleranceTable& tolerance,
                                   const OutputSelection& selection) {
    if (!HasOutputData(doc.measureData()) || doc.MeasurementsAsWritten())
        return true;
    const MessageAnswer answer =
        ShowMessage("Keep the measurements of " + doc.title() + "?", MessageIcon::Warning,
                    MessageButtons::SaveDiscardCancel);
    switch (answer) {
    case MessageAnswer::Discard:
        return true;
    case MessageAnswer::Save:
        return SaveMeasurements(
            doc, {RulerCalibration::CurrentScale(doc.settings()), tolerance, selection});
    default:
        return false;
    }
}

} // namespace halvera
