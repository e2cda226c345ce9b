#pragma once

#include "image/CalibrationRecord.h"
#include "platform/SettingsStore.h"

#include <optional>
#include <string>
#include <vector>

namespace halvera {

// One named calibration of the preset list ("10x objective").
struct CalibrationPreset {
    std::string name;
    CalibrationRecord record;
    bool operator==(const CalibrationPreset&) const = default;
};

// The named calibrations the user keeps, in the order they were first saved.
// They live in the settings beside the calibration in force: RulerPresetCount
// and RulerPreset1..N, each "UNIT|REALX|REALY|PIXELX|PIXELY|NAME" with the
// reals as "%.8f" without locale and the name percent-encoded outside
// letters, digits, blanks and ".-_()", so the text never needs quoting in an
// INI file. Every record passes the calibration's limits on the way in.
class CalibrationPresets {
public:
    // The list kept in `store`; an entry that cannot be read is skipped.
    static CalibrationPresets Load(SettingsStore& store);
    // Writes the whole list to `store`.
    void Save(SettingsStore& store) const;

    const std::vector<CalibrationPreset>& list() const& { return presets_; }
    // Not of a temporary list: a range-for over it would read freed memory.
    const std::vector<CalibrationPreset>& list() && = delete;
    std::optional<CalibrationPreset> find(const std::string& name) const;
    // Stores `record` (within the calibration's limits) under `name`,
    // replacing a preset of that name in its place or adding one at the end.
    void put(const std::string& name, const CalibrationRecord& record);
    // False when there is no preset of that name.
    bool remove(const std::string& name);

    bool operator==(const CalibrationPresets&) const = default;

private:
    std::vector<CalibrationPreset> presets_;
};

// A preset name as typed, with the blanks at either end dropped; empty when
// nothing else is left.
std::string TrimmedPresetName(const std::string& typed);

// The record within the calibration's limits, as the Calibrate panel's OK
// would store it.
CalibrationRecord LimitedCalibration(const CalibrationRecord& record);

} // namespace halvera
