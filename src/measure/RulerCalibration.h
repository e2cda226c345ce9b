#pragma once

#include "image/AppSettings.h"
#include "image/CalibrationRecord.h"

#include <string_view>

namespace halvera {

// Number of ruler units and their names by index: 0 "um", 1 "mm", 2 "cm",
// 3 "dcm", 4 "inch". The unit is a label only; no value is ever converted.
inline constexpr int kRulerUnitCount = 5;
// The name of unit `unit`; an index outside 0..4 names unit 0.
std::string_view RulerUnitName(int unit);

// Real units per image pixel along each axis.
struct MeasureScale {
    double x = 1.0;
    double y = 1.0;
    bool operator==(const MeasureScale&) const = default;
};

// The scale of a calibration: real size / pixel size per axis, or 1.0 for
// both axes when either pixel size is not positive.
MeasureScale ScaleOf(double realX, double realY, int pixelX, int pixelY);

// The application-wide calibration, kept in the settings under RulerUnit,
// xRealRulerData, yRealRulerData, xPixelRulerData and yPixelRulerData. Every
// setter validates what it stores as loading does: a unit outside 0..4
// becomes 0, a real size not above 0 becomes 100.0 and one above 2000 becomes
// 2000.0, a pixel size not above 0 becomes 100 and one above 2000 becomes 2000.
// Beside them it keeps the name of the preset the values were chosen as
// (RulerPreset); every setter of a value forgets that name. Every change it
// makes is told to the settings' watchers (CalibrationWatch.h).
class RulerCalibration {
public:
    explicit RulerCalibration(AppSettings& settings) : settings_(settings) {}

    int unit() const { return settings_.RulerUnit; }
    std::string_view unitName() const { return RulerUnitName(settings_.RulerUnit); }
    double realX() const { return settings_.xRealRulerData; }
    double realY() const { return settings_.yRealRulerData; }
    int pixelX() const { return settings_.xPixelRulerData; }
    int pixelY() const { return settings_.yPixelRulerData; }
    const std::string& presetName() const { return settings_.RulerPreset; }

    void SetUnit(int unit);
    void SetRealSize(double x, double y);
    void SetPixelSize(int x, int y);
    // Unit, real sizes and pixel sizes at once, validated as the three
    // setters validate them; the watchers hear of it once.
    void Store(const CalibrationRecord& record);
    // Names the preset the values in force were just chosen as.
    void SetPresetName(const std::string& name);

    // Read afresh from the settings on every call.
    MeasureScale scale() const { return CurrentScale(settings_); }
    static MeasureScale CurrentScale(const AppSettings& settings);

private:
    // Makes `change` to the settings, validates them and tells the watchers
    // when the calibration is not what it was.
    template <class Change> void Changing(Change change);
    void Validate();

    AppSettings& settings_;
};

} // namespace halvera
