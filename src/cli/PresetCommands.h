#pragma once

#include "measure/CalibrationPresets.h"

#include <optional>
#include <string>
#include <vector>

namespace halvera {

// The calibration presets of the batch tool: the desktop program's list, read
// from its settings file (DesktopSettingsFile.h), the one exception to the
// batch tool's default settings.

// `halvera-cli presets`: one line per preset, "NAME: XSCALE x YSCALE UNIT/px";
// with `--delete NAME`, removes that preset instead (wrong usage, nothing
// written, when the list has none of that name).
int RunPresetsCommand(const std::vector<std::string>& words);
std::string PresetsCommandUsage();

// The preset called `name`; wrong usage (exit 2) naming it when the list has
// none of that name.
CalibrationPreset PresetNamed(const std::string& name);

// The preset of `--preset NAME` on a command that also takes --calibration:
// wrong usage when both are given or the name is unknown.
CalibrationPreset CalibrationPresetArgument(const std::optional<std::string>& calibration,
                                            const std::string& name);

// The name a --save-preset value gives, trimmed; wrong usage when empty.
std::string PresetNameArgument(const std::string& value);

// Stores `record` as the preset `name` in the desktop's list. False after its
// message when the settings file cannot be written.
bool SavePreset(const std::string& name, const CalibrationRecord& record);

} // namespace halvera
