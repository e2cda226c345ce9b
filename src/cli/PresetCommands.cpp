#include "cli/PresetCommands.h"

#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/DesktopSettingsFile.h"
#include "measure/MeasureNumber.h"
#include "measure/RulerCalibration.h"
#include "platform/UserPrompts.h"

#include <cstdio>

namespace halvera {

int RunPresetsCommand(const std::vector<std::string>& words) {
    if (!words.empty())
        throw UsageError("presets takes no arguments", PresetsCommandUsage());
    DesktopSettingsFile file(DesktopSettingsFile::DefaultPath());
    // Held by name: a range-for would not keep the list's owner alive.
    const CalibrationPresets presets = CalibrationPresets::Load(file);
    for (const CalibrationPreset& preset : presets.list()) {
        const CalibrationRecord& r = preset.record;
        const MeasureScale scale = ScaleOf(r.realX, r.realY, r.pixelWidth, r.pixelHeight);
        std::printf("%s: %s x %s %s/px\n", preset.name.c_str(), FormatDecimals(scale.x, 6).c_str(),
                    FormatDecimals(scale.y, 6).c_str(), std::string(RulerUnitName(r.unit)).c_str());
    }
    return kExitSuccess;
}

std::string PresetsCommandUsage() {
    return "       halvera-cli presets\n"
           "       lists the desktop program's calibration presets: NAME: XSCALE x YSCALE "
           "UNIT/px\n";
}

CalibrationPreset PresetNamed(const std::string& name) {
    DesktopSettingsFile file(DesktopSettingsFile::DefaultPath());
    if (const std::optional<CalibrationPreset> preset = CalibrationPresets::Load(file).find(name))
        return *preset;
    throw UsageError("there is no calibration preset named '" + name +
                     "' (halvera-cli presets lists them)");
}

CalibrationPreset CalibrationPresetArgument(const std::optional<std::string>& calibration,
                                            const std::string& name) {
    if (calibration)
        throw UsageError("give --calibration or --preset, not both");
    return PresetNamed(name);
}

std::string PresetNameArgument(const std::string& value) {
    const std::string name = TrimmedPresetName(value);
    if (name.empty())
        throw UsageError("--save-preset needs a name");
    return name;
}

bool SavePreset(const std::string& name, const CalibrationRecord& record) {
    DesktopSettingsFile file(DesktopSettingsFile::DefaultPath());
    CalibrationPresets presets = CalibrationPresets::Load(file);
    presets.put(name, record);
    presets.Save(file);
    if (file.Commit())
        return true;
    ShowMessage("Can not write the file " + file.path() + "!", MessageIcon::Stop);
    return false;
}

} // namespace halvera
