#include "measure/CalibrationStatus.h"

#include "measure/MeasureNumber.h"
#include "measure/RulerCalibration.h"

namespace halvera {

std::string CalibrationStatusText(const NamedCalibration& calibration) {
    const CalibrationRecord& record = calibration.record;
    if (record == CalibrationRecord{} && calibration.preset.empty())
        return "uncalibrated \u00B7 1 px";
    const MeasureScale scale =
        ScaleOf(record.realX, record.realY, record.pixelWidth, record.pixelHeight);
    std::string text = FormatDecimals(scale.x, 4);
    if (scale.y != scale.x)
        text += " x " + FormatDecimals(scale.y, 4);
    text += " " + std::string(RulerUnitName(record.unit)) + "/px";
    return calibration.preset.empty() ? text : calibration.preset + " \u00B7 " + text;
}

std::string OwnCalibrationNotice(const std::optional<NamedCalibration>& own,
                                 const NamedCalibration& inForce, CalibrationSource source) {
    if (!own || own->record == inForce.record)
        return {};
    const char* carrier =
        source == CalibrationSource::Picture ? "The picture carries " : "The measurements carry ";
    return carrier + CalibrationStatusText(*own) + ", not the " + CalibrationStatusText(inForce) +
           " in force (Setting, Use the picture's calibration)";
}

} // namespace halvera
