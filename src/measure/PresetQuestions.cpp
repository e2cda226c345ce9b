#include "measure/PresetQuestions.h"

#include "measure/CalibrationPresets.h"

namespace halvera {

namespace {

CalibrationPresets FreshPresets(SettingsStore& store) {
    store.sync();
    return CalibrationPresets::Load(store);
}

void Keep(SettingsStore& store, const CalibrationPresets& presets) {
    presets.Save(store);
    store.sync();
}

bool Asked(const std::string& question) {
    return ShowMessage(question, MessageIcon::Question, MessageButtons::YesNo) ==
           MessageAnswer::Yes;
}

} // namespace

std::optional<std::string> AskToKeepAsPreset(SettingsStore& store, const CalibrationRecord& record,
                                             const TextRequest& question) {
    const std::optional<std::string> typed = Prompts().askText(question);
    if (!typed)
        return std::nullopt;
    const std::string name = TrimmedPresetName(*typed);
    if (name.empty())
        return std::nullopt;
    CalibrationPresets presets = FreshPresets(store);
    if (presets.find(name) && !Asked("Replace the preset \"" + name + "\"?"))
        return std::nullopt;
    presets.put(name, record);
    Keep(store, presets);
    return name;
}

bool AskToDeletePreset(SettingsStore& store, const std::string& name) {
    if (!Asked("Delete the preset \"" + name + "\"?"))
        return false;
    CalibrationPresets presets = FreshPresets(store);
    if (!presets.remove(name))
        return false;
    Keep(store, presets);
    return true;
}

} // namespace halvera
