#include "measure/RulerCalibration.h"

#include "measure/CalibrationWatch.h"

#include <array>

namespace halvera {

namespace {

constexpr std::array<std::string_view, kRulerUnitCount> kUnitNames = {"um", "mm", "cm", "dcm",
                                                                      "inch"};

bool IsUnit(int unit) {
    return unit >= 0 && unit < kRulerUnitCount;
}

NamedCalibration Current(const AppSettings& settings) {
    return {{settings.RulerUnit, settings.xRealRulerData, settings.yRealRulerData,
             settings.xPixelRulerData, settings.yPixelRulerData},
            settings.RulerPreset};
}

} // namespace

std::string_view RulerUnitName(int unit) {
    return kUnitNames[IsUnit(unit) ? unit : 0];
}

MeasureScale ScaleOf(double realX, double realY, int pixelX, int pixelY) {
    if (pixelX <= 0 || pixelY <= 0)
        return {};
    return {realX / pixelX, realY / pixelY};
}

MeasureScale RulerCalibration::CurrentScale(const AppSettings& settings) {
    return ScaleOf(settings.xRealRulerData, settings.yRealRulerData, settings.xPixelRulerData,
                   settings.yPixelRulerData);
}

void RulerCalibration::SetUnit(int unit) {
    Changing([&] { settings_.RulerUnit = unit; });
}

void RulerCalibration::SetRealSize(double x, double y) {
    Changing([&] {
        settings_.xRealRulerData = x;
        settings_.yRealRulerData = y;
    });
}

void RulerCalibration::SetPixelSize(int x, int y) {
    Changing([&] {
        settings_.xPixelRulerData = x;
        settings_.yPixelRulerData = y;
    });
}

void RulerCalibration::Store(const CalibrationRecord& record) {
    Changing([&] {
        settings_.RulerUnit = record.unit;
        settings_.xRealRulerData = record.realX;
        settings_.yRealRulerData = record.realY;
        settings_.xPixelRulerData = record.pixelWidth;
        settings_.yPixelRulerData = record.pixelHeight;
    });
}

void RulerCalibration::SetPresetName(const std::string& name) {
    if (settings_.RulerPreset == name)
        return;
    settings_.RulerPreset = name;
    TellCalibrationChanged(settings_);
}

template <class Change> void RulerCalibration::Changing(Change change) {
    const NamedCalibration before = Current(settings_);
    change();
    Validate();
    if (Current(settings_) != before)
        TellCalibrationChanged(settings_);
}

void RulerCalibration::Validate() {
    settings_.RulerPreset.clear();
    settings_.ApplyRulerLimits();
    if (!IsUnit(settings_.RulerUnit))
        settings_.RulerUnit = 0;
}

} // namespace halvera
