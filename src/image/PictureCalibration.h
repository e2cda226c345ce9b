#pragma once

#include "image/AppSettings.h"
#include "image/CalibrationRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvera {

// The physical pixel size a PNG or TIFF file carries, and the calibration
// record it stands for. Other programs keep a pixel size, not a record: a
// PNG's pHYs chunk counts pixels per metre, a TIFF counts pixels per inch,
// per centimetre or (ImageJ) per the unit its description names. Halvera
// writes its record beside that, as text, so its own files read back exactly.

// The length of ruler unit `unit` (0 um, 1 mm, 2 cm, 3 dcm, 4 inch) in metres.
double RulerUnitInMetres(int unit);

// The record of a scale of `scaleX` by `scaleY` units of `unit` per pixel: each
// axis takes the largest whole pixel size up to 2000 whose real size stays
// within 2000 (the settings' limits), which keeps the most significant digits
// in the real size. Nothing when a scale is not positive or above 2000.
std::optional<CalibrationRecord> CalibrationForUnitScale(int unit, double scaleX, double scaleY);

// The record of a pixel `metresX` by `metresY` metres in the unit that reads
// best: um below 0.1 mm, mm below 1 cm, else cm.
std::optional<CalibrationRecord> CalibrationForPixelSize(double metresX, double metresY);

// The record as its text in a picture file, numbers in the C locale's form
// and as many digits as make them exact:
// "unit=0 realX=100 realY=100 pixelWidth=437 pixelHeight=437".
std::string CalibrationRecordText(const CalibrationRecord& record);
// The record of such a text; nothing when a word is missing, unknown or out
// of the settings' ranges.
std::optional<CalibrationRecord> ParseCalibrationRecordText(std::string_view text);

// The calibration in force in `settings`, to be written with a picture;
// nothing when the settings hold the uncalibrated defaults (no preset chosen).
std::optional<CalibrationRecord> CalibrationToWrite(const AppSettings& settings);

} // namespace halvera
