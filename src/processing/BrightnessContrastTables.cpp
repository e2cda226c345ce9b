#include "processing/BrightnessContrastTables.h"

#include "processing/ClampTable.h"

namespace halvera {

namespace {

uint8_t Clamp(int value) {
    return value < 0 ? 0 : value > 255 ? 255 : static_cast<uint8_t>(value);
}

void SetIdentity(LevelTable& curve) {
    for (int v = 0; v < 256; ++v)
        curve[v] = static_cast<uint8_t>(v);
}

void StretchCurve(LevelTable& curve, int mean, int percent) {
    const int low = mean * percent / 100;
    const int span = 255 - low - (255 - mean) * percent / 100;
    const int divisor = span > 0 ? span : 1;
    for (int v = 0; v < 256; ++v)
        curve[v] = Clamp((255 * v - 255 * low) / divisor);
}

void FlattenCurve(LevelTable& curve, int mean, int percent) {
    const int lowered = -percent;
    const int above = mean * lowered / 100;
    const int divisor = 255 + above;
    const int top = 255 - (255 - mean) * lowered / 100 - above;
    for (int v = 0; v < 256; ++v)
        curve[v] = Clamp(top * v / divisor);
}

} // namespace

BrightnessContrastTables::BrightnessContrastTables() {
    SetIdentity(curve_);
}

bool BrightnessContrastTables::SetBrightness(int percent) {
    if (percent < -100 || percent > 100)
        return false;
    offset_ = PercentToLevels(percent);
    return true;
}

bool BrightnessContrastTables::SetContrast(uint32_t meanGray, int percent) {
    if (percent < -100 || percent > 100 || meanGray > 255)
        return false;
    const int mean = static_cast<int>(meanGray);
    if (percent > 0)
        StretchCurve(curve_, mean, percent);
    else if (percent < 0)
        FlattenCurve(curve_, mean, percent);
    else
        SetIdentity(curve_);
    return true;
}

LevelTable BrightnessContrastTables::Levels() const {
    LevelTable levels{};
    for (int v = 0; v < 256; ++v)
        levels[v] = kClampTable[curve_[v] + offset_ + kClampBias];
    return levels;
}

} // namespace halvera
