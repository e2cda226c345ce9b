#pragma once

#include "image/CalibrationRecord.h"

#include <optional>
#include <string>
#include <tiffio.h>

namespace halvera {

// A calibration in a TIFF file, written as ImageJ and the tifffile library
// write it, so that they read it back: ResolutionUnit none, XResolution and
// YResolution in pixels per unit, and an ImageDescription
// "ImageJ=1.11a\nunit=micron\n" naming the unit (micron, mm, cm, inch; a
// calibration in dcm is written in cm). The resolution is a float inside
// libtiff, so Halvera's record goes beside it, exactly, as text in a private
// tag that other readers pass over.

// Sets the tags of `record` on the directory being written.
void SetCalibrationTags(TIFF* tiff, const CalibrationRecord& record);

// The calibration of the current directory: Halvera's record when it is
// there and sound; else the resolution in pixels per the unit the
// description's "unit=" line names (micron, um, µm as UTF-8, Latin-1 or the
// escape "\u00B5m", nm, mm, cm, inch, m); else the resolution in pixels per
// inch or centimetre by ResolutionUnit. Nothing for a resolution of no unit
// or none at all.
std::optional<CalibrationRecord> ReadCalibrationTags(TIFF* tiff);

} // namespace halvera
