#include "measure/MeasurementFiles.h"

#include "document/MavDoc.h"
#include "measure/CalFile.h"
#include "measure/MeasureDataItems.h"
#include "measure/MeasurementSidecar.h"
#include "measure/ResultExport.h"

#include <filesystem>

namespace halvera {

namespace {

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) && !error;
}

} // namespace

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

MeasurementFileOutcome SaveMeasurementsBeside(CMavDoc& doc, const std::string& picturePath) {
    const std::string path = MeasurementSidecarPath(picturePath);
    const bool present = Exists(path);
    if (!present && !HasOutputData(doc.measureData()))
        return {};
    if (present) {
        const MeasurementFileRead existing = ReadMeasurementSidecar(path);
        if (!existing.record)
            return {false, FileNameOf(path) + " is kept as it is: " + existing.problem};
    }
    RulerCalibration calibration(doc.settings());
    const MeasurementRecord record{FileNameOf(picturePath), NamedCalibrationInForce(calibration),
                                   doc.measureData()};
    if (!WriteMeasurementSidecar(path, record))
        return {false, "Cannot save the measurements to " + path};
    doc.MeasurementsWritten();
    return {true, "Measurements saved to " + FileNameOf(path)};
}

MeasurementFileOutcome RestoreMeasurementsBeside(CMavDoc& doc) {
    if (doc.path().empty())
        return {};
    const std::string path = MeasurementSidecarPath(doc.path());
    if (!Exists(path))
        return {};
    MeasurementFileRead read = ReadMeasurementSidecar(path);
    if (!read.record)
        return {false, FileNameOf(path) + " is not read: " + read.problem};
    doc.measureData() = std::move(read.record->items);
    doc.MeasurementsWritten();
    doc.setOwnCalibration(read.record->calibration);
    return {true, "Measurements restored from " + FileNameOf(path)};
}

} // namespace halvera
