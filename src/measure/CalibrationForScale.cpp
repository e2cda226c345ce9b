#include "measure/CalibrationForScale.h"

#include "image/PictureCalibration.h"

namespace halvera {

std::optional<CalibrationRecord> CalibrationForScale(int unit, MeasureScale scale) {
    return CalibrationForUnitScale(unit, scale.x, scale.y);
}

} // namespace halvera
