#include "cli/PresetCommands.h"

#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/CommandWords.h"
#include "cli/DesktopSettingsFile.h"
#include "measure/MeasureNumber.h"
#include "measure/RulerCalibration.h"
#include "platform/UserPrompts.h"

#include <cstdio>

namespace halvera {

namespace {

constexpr CommandOption kPresetsOptions[] = {{"--delete"}};

std::string NoPresetNamed(const std::string& name) {
    return "there is no calibration preset named '" + name + "' (halvera-cli presets lists them)";
}

bool CommitOrSay(const DesktopSettingsFile& file) {
    if (file.Commit())
        return true;
    ShowMessage("Can not write the file " + file.path() + "!", MessageIcon::Stop);
    return false;
}

} // namespace

int RunPresetsCommand(const std::vector<std::string>& words) {
    const CommandWords split = SplitCommandWords("presets", kPresetsOptions, words);
    if (!split.positional.empty())
        throw UsageError("presets takes no arguments", PresetsCommandUsage());
    DesktopSettingsFile file(DesktopSettingsFile::DefaultPath());
    // Held by name: a range-for would not keep the list's owner alive.
    CalibrationPresets presets = CalibrationPresets::Load(file);
    if (const std::optional<std::string> name = split.once("--delete")) {
        if (!presets.remove(*name))
            throw UsageError(NoPresetNamed(*name));
        presets.Save(file);
        return CommitOrSay(file) ? kExitSuccess : kExitFailure;
    }
    for (const CalibrationPreset& preset : presets.list()) {
        const CalibrationRecord& r = preset.record;
        const MeasureScale scale = ScaleOf(r.realX, r.realY, r.pixelWidth, r.pixelHeight);
        std::printf("%s: %s x %s %s/px\n", preset.name.c_str(), FormatDecimals(scale.x, 6).c_str(),
                    FormatDecimals(scale.y, 6).c_str(), std::string(RulerUnitName(r.unit)).c_str());
    }
    return kExitSuccess;
}

std::string PresetsCommandUsage() {
    return "       halvera-cli presets [--delete NAME]\n"
           "       lists the desktop program's calibration presets: NAME: XSCALE x YSCALE "
           "UNIT/px;\n"
           "       --delete removes the preset NAME from the list\n";
}

CalibrationPreset PresetNamed(const std::string& name) {
    DesktopSettingsFile file(DesktopSettingsFile::DefaultPath());
    if (const std::optional<CalibrationPreset> preset = CalibrationPresets::Load(file).find(name))
        return *preset;
    throw UsageError(NoPresetNamed(name));
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
    return CommitOrSay(file);
}

} // namespace halvera
