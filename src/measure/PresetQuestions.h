#pragma once

#include "image/CalibrationRecord.h"
#include "platform/SettingsStore.h"
#include "platform/UserPrompts.h"

#include <optional>
#include <string>

namespace halvera {

// The questions around the calibration presets kept in a settings store
// (CalibrationPresets.h), asked through the prompts. The list is read afresh
// before and written out after each change, so a preset the batch tool saved
// meanwhile is kept.

// Asks for a name (`question`) and keeps `record` as the preset of that name,
// blanks at either end dropped. A name the list holds already is replaced
// only when "Replace the preset "NAME"?" is answered Yes. The name kept; nothing
// when the question was cancelled, only blanks were typed or the existing
// preset was kept.
std::optional<std::string> AskToKeepAsPreset(SettingsStore& store, const CalibrationRecord& record,
                                             const TextRequest& question);

// Asks "Delete the preset "NAME"?" and removes it on Yes. True when it was removed.
bool AskToDeletePreset(SettingsStore& store, const std::string& name);

} // namespace halvera
