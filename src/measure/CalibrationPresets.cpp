#include "measure/CalibrationPresets.h"

#include "image/AppSettings.h"
#include "measure/CalFile.h"
#include "measure/RulerCalibration.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace halvera {

namespace {

constexpr std::string_view kCountKey = "RulerPresetCount";
constexpr char kFieldSeparator = '|';
constexpr size_t kFieldCount = 6;

std::string EntryKey(size_t index) {
    return "RulerPreset" + std::to_string(index + 1);
}

bool KeptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view(" .-_()").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string EncodeName(const std::string& name) {
    std::string encoded;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptAsIs(byte)) {
            encoded += c;
            continue;
        }
        char escape[4];
        std::snprintf(escape, sizeof escape, "%%%02X", byte);
        encoded += escape;
    }
    return encoded;
}

std::optional<std::string> DecodeName(std::string_view encoded) {
    std::string name;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            name += encoded[i];
            continue;
        }
        unsigned value = 0;
        const char* first = encoded.data() + i + 1;
        if (i + 2 >= encoded.size() ||
            std::from_chars(first, first + 2, value, 16).ptr != first + 2)
            return std::nullopt;
        name += static_cast<char>(value);
        i += 2;
    }
    return name;
}

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t end = text.find(kFieldSeparator, start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string EncodeEntry(const CalibrationPreset& preset) {
    const CalibrationRecord& r = preset.record;
    const std::string separator(1, kFieldSeparator);
    return std::to_string(r.unit) + separator + AppSettings::FormatRulerReal(r.realX) + separator +
           AppSettings::FormatRulerReal(r.realY) + separator + std::to_string(r.pixelWidth) +
           separator + std::to_string(r.pixelHeight) + separator + EncodeName(preset.name);
}

std::optional<CalibrationPreset> DecodeEntry(std::string_view text) {
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.size() != kFieldCount)
        return std::nullopt;
    const std::optional<int> unit = WholeNumber(fields[0]);
    const std::optional<int> pixelX = WholeNumber(fields[3]);
    const std::optional<int> pixelY = WholeNumber(fields[4]);
    const std::optional<std::string> name = DecodeName(fields[5]);
    if (!unit || !pixelX || !pixelY || !name || TrimmedPresetName(*name).empty())
        return std::nullopt;
    const CalibrationRecord record{*unit, AppSettings::ParseRulerReal(fields[1]),
                                   AppSettings::ParseRulerReal(fields[2]), *pixelX, *pixelY};
    return CalibrationPreset{*name, LimitedCalibration(record)};
}

} // namespace

CalibrationPresets CalibrationPresets::Load(SettingsStore& store) {
    CalibrationPresets presets;
    const int count = std::max(0, store.readInt(kSettingsSection, kCountKey).value_or(0));
    for (size_t index = 0; index < static_cast<size_t>(count); ++index) {
        const std::optional<std::string> text = store.readString(kSettingsSection, EntryKey(index));
        if (!text)
            continue;
        if (const std::optional<CalibrationPreset> preset = DecodeEntry(*text))
            presets.put(preset->name, preset->record);
    }
    return presets;
}

// Entries past the count stay in the store unread: the store cannot remove a key.
void CalibrationPresets::Save(SettingsStore& store) const {
    store.writeInt(kSettingsSection, kCountKey, static_cast<int>(presets_.size()));
    for (size_t index = 0; index < presets_.size(); ++index)
        store.writeString(kSettingsSection, EntryKey(index), EncodeEntry(presets_[index]));
}

std::optional<CalibrationPreset> CalibrationPresets::find(const std::string& name) const {
    const auto found = std::find_if(presets_.begin(), presets_.end(),
                                    [&](const CalibrationPreset& p) { return p.name == name; });
    if (found == presets_.end())
        return std::nullopt;
    return *found;
}

void CalibrationPresets::put(const std::string& name, const CalibrationRecord& record) {
    const CalibrationPreset preset{name, LimitedCalibration(record)};
    for (CalibrationPreset& existing : presets_)
        if (existing.name == name) {
            existing = preset;
            return;
        }
    presets_.push_back(preset);
}

bool CalibrationPresets::remove(const std::string& name) {
    const auto removed =
        std::erase_if(presets_, [&](const CalibrationPreset& p) { return p.name == name; });
    return removed > 0;
}

std::string TrimmedPresetName(const std::string& typed) {
    const size_t first = typed.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const size_t last = typed.find_last_not_of(" \t");
    return typed.substr(first, last - first + 1);
}

CalibrationRecord LimitedCalibration(const CalibrationRecord& record) {
    AppSettings scratch;
    RulerCalibration calibration(scratch);
    StoreCalibration(calibration, record);
    return CalibrationInForce(calibration);
}

} // namespace halvera
