#include "measure/RulerCalibration.h"

#include <array>

namespace halvera {

namespace {

constexpr std::array<std::string_view, kRulerUnitCount> kUnitNames = {"um", "mm", "cm", "dcm",
                                                                      "inch"};

bool IsUnit(int unit) {
    return unit >= 0 && unit < kRulerUnitCount;
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
    settings_.RulerUnit = unit;
    Validate();
}

void RulerCalibration::SetRealSize(double x, double y) {
    settings_.xRealRulerData = x;
    settings_.yRealRulerData = y;
    Validate();
}

void RulerCalibration::SetPixelSize(int x, int y) {
    settings_.xPixelRulerData = x;
    settings_.yPixelRulerData = y;
    Validate();
}

void RulerCalibration::Validate() {
    settings_.RulerPreset.clear();
    settings_.ApplyRulerLimits();
    if (!IsUnit(settings_.RulerUnit))
        settings_.RulerUnit = 0;
}

} // namespace halvera
