#pragma once

#include <cstdint>
#include <string>

namespace halvera {

// One calibration as the calibration panel sets it and a .Cal file keeps it:
// the unit index (0 "um", 1 "mm", 2 "cm", 3 "dcm", 4 "inch"), the real sizes
// and the lengths of the ruler's legs in image pixels. A picture file or a
// measurement file may carry one, which is why it lives with the pictures.
struct CalibrationRecord {
    int32_t unit = 0;
    double realX = 100.0;
    double realY = 100.0;
    int32_t pixelWidth = 100;
    int32_t pixelHeight = 100;
    bool operator==(const CalibrationRecord&) const = default;
};

// A calibration and the name of the preset it was chosen as (empty when it
// was typed, loaded or read from a file rather than chosen by name).
struct NamedCalibration {
    CalibrationRecord record;
    std::string preset;
    bool operator==(const NamedCalibration&) const = default;
};

} // namespace halvera
