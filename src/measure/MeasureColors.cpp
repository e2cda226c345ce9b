#include "measure/MeasureColors.h"

namespace halvera {

namespace {

constexpr int AppSettings::*kRoleSettings[] = {&AppSettings::MTColor1, &AppSettings::MTColor2,
                                               &AppSettings::MTColor3, &AppSettings::MTColor4};
constexpr int kRoleDefaults[] = {2, 3, 4, 5};
constexpr size_t kRed = 2;
constexpr size_t kMagenta = 7;

} // namespace

int& MeasureColorSetting(AppSettings& settings, MeasureColorRole role) {
    return settings.*kRoleSettings[static_cast<int>(role)];
}

const MeasureColor& MeasureColorOf(const AppSettings& settings, MeasureColorRole role) {
    const int index = settings.*kRoleSettings[static_cast<int>(role)];
    const bool listed = index >= 0 && index < static_cast<int>(kMeasureColors.size());
    return kMeasureColors[static_cast<size_t>(listed ? index
                                                     : kRoleDefaults[static_cast<int>(role)])];
}

const MeasureColor& MeasureErrorColorOf(const AppSettings& settings) {
    const bool labelsRed =
        MeasureColorOf(settings, MeasureColorRole::Text).name == kMeasureColors[kRed].name;
    return kMeasureColors[labelsRed ? kMagenta : kRed];
}

} // namespace halvera
