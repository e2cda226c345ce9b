#include "image/AppSettings.h"

#include <charconv>
#include <cmath>

namespace halvera {

namespace {

int InRangeOr(int value, int min, int max, int fallback) {
    return value >= min && value <= max ? value : fallback;
}

double LimitRulerReal(double value) {
    if (!(value > 0.0)) // also catches NaN
        return 100.0;
    return value > 2000.0 ? 2000.0 : value;
}

int LimitRulerPixels(int value) {
    if (value <= 0)
        return 100;
    return value > 2000 ? 2000 : value;
}

// The integer settings with their store keys, for loading and saving alike.
struct IntSetting {
    std::string_view key;
    int AppSettings::*field;
    int fallback;
};

constexpr IntSetting kIntSettings[] = {
    {"RulerUnit", &AppSettings::RulerUnit, 0},
    {"xPixelRulerData", &AppSettings::xPixelRulerData, 100},
    {"yPixelRulerData", &AppSettings::yPixelRulerData, 100},
    {"MagicRange", &AppSettings::MagicRange, 30},
    {"SignColor", &AppSettings::SignColor, 0},
    {"PencilSize", &AppSettings::PencilSize, 8},
    {"ImageWidth", &AppSettings::ImageWidth, 100},
    {"ImageHeight", &AppSettings::ImageHeight, 100},
    {"MTColor1", &AppSettings::MTColor1, 2},
    {"MTColor2", &AppSettings::MTColor2, 3},
    {"MTColor3", &AppSettings::MTColor3, 4},
    {"MTColor4", &AppSettings::MTColor4, 5},
    {"SnapToEdges", &AppSettings::SnapToEdges, 0},
    {"CaptureDevice", &AppSettings::CaptureDevice, 0},
    {"AutosaveMinutes", &AppSettings::AutosaveMinutes, 2},
    {"UndoMemory", &AppSettings::UndoMemory, AppSettings::kDefaultUndoMemory},
};

struct StringSetting {
    std::string_view key;
    std::string AppSettings::*field;
    std::string_view fallback;
};

constexpr StringSetting kStringSettings[] = {
    {"CaptureName", &AppSettings::CaptureName, ""},
    {"CaptureFile", &AppSettings::CaptureFile, ""}, // the default is the user's: ApplyLimits
    {"ScannerSource", &AppSettings::ScannerSource, ""},
    {"RulerPreset", &AppSettings::RulerPreset, ""},
};

// The capture timing, stored as text like the ruler reals.
struct RealSetting {
    std::string_view key;
    double AppSettings::*field;
    double fallback;
};

constexpr RealSetting kRealSettings[] = {
    {"CaptureRate", &AppSettings::captureRate, 3.0},
    {"CaptureTimeLimit", &AppSettings::captureTimeLimit, 60.0},
};

double PositiveOr(double value, double fallback) {
    return std::isfinite(value) && value > 0.0 ? value : fallback;
}

// What earlier versions stored as the capture file: on this system it names a
// file in whatever folder the program was started from.
constexpr std::string_view kOldDefaultCaptureFile = "C:\\HLV.avi";

constexpr std::string_view kXRealRuler = "xRealRulerData";
constexpr std::string_view kYRealRuler = "yRealRulerData";

} // namespace

void AppSettings::Load(SettingsStore& store) {
    for (const IntSetting& setting : kIntSettings)
        this->*setting.field =
            store.readInt(kSettingsSection, setting.key).value_or(setting.fallback);
    for (const StringSetting& setting : kStringSettings)
        this->*setting.field =
            store.readString(kSettingsSection, setting.key).value_or(std::string(setting.fallback));
    for (const RealSetting& setting : kRealSettings) {
        const std::optional<std::string> text = store.readString(kSettingsSection, setting.key);
        this->*setting.field = text ? ParseRulerReal(*text) : setting.fallback;
    }
    // A missing ruler real reads as 0, which the limits turn into 100.0.
    xRealRulerData = ParseRulerReal(store.readString(kSettingsSection, kXRealRuler).value_or(""));
    yRealRulerData = ParseRulerReal(store.readString(kSettingsSection, kYRealRuler).value_or(""));
    ApplyLimits();
}

void AppSettings::Save(SettingsStore& store) {
    ApplyLimits();
    store.writeString(kSettingsSection, kXRealRuler, FormatRulerReal(xRealRulerData));
    store.writeString(kSettingsSection, kYRealRuler, FormatRulerReal(yRealRulerData));
    for (const IntSetting& setting : kIntSettings)
        store.writeInt(kSettingsSection, setting.key, this->*setting.field);
    for (const StringSetting& setting : kStringSettings)
        store.writeString(kSettingsSection, setting.key, this->*setting.field);
    for (const RealSetting& setting : kRealSettings)
        store.writeString(kSettingsSection, setting.key, FormatRulerReal(this->*setting.field));
}

void AppSettings::ApplyRulerLimits() {
    xRealRulerData = LimitRulerReal(xRealRulerData);
    yRealRulerData = LimitRulerReal(yRealRulerData);
    xPixelRulerData = LimitRulerPixels(xPixelRulerData);
    yPixelRulerData = LimitRulerPixels(yPixelRulerData);
}

void AppSettings::ApplyLimits() {
    ApplyRulerLimits();
    RulerUnit = InRangeOr(RulerUnit, 0, 4, 0);
    MagicRange = InRangeOr(MagicRange, 0, 100, 30);
    SnapToEdges = InRangeOr(SnapToEdges, 0, 1, 0);
    PencilSize = InRangeOr(PencilSize, 0, 100, 6);
    ImageWidth = InRangeOr(ImageWidth, 8, 2048, 100);
    ImageHeight = InRangeOr(ImageHeight, 8, 2048, 100);
    AutosaveMinutes = InRangeOr(AutosaveMinutes, kMinAutosaveMinutes, kMaxAutosaveMinutes, 2);
    UndoMemory = InRangeOr(UndoMemory, kMinUndoMemory, kMaxUndoMemory, kDefaultUndoMemory);
    for (const RealSetting& setting : kRealSettings)
        this->*setting.field = PositiveOr(this->*setting.field, setting.fallback);
    if (CaptureFile.empty() || CaptureFile == kOldDefaultCaptureFile)
        CaptureFile = defaultCaptureFile;
}

void AppSettings::UseMoviesFolder(const std::string& folder) {
    defaultCaptureFile = CaptureFileIn(folder);
    CaptureFile = defaultCaptureFile;
}

std::string AppSettings::CaptureFileIn(const std::string& folder) {
    return folder.ends_with('/') ? folder + "HLV.avi" : folder + "/HLV.avi";
}

std::string AppSettings::FormatRulerReal(double value) {
    // 2000.0 with eight decimals needs 13 characters; any double fits in 330.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 8);
    return std::string(buffer, result.ptr);
}

double AppSettings::ParseRulerReal(std::string_view text) {
    size_t start = 0;
    while (start < text.size() &&
           (text[start] == ' ' || (text[start] >= '\t' && text[start] <= '\r')))
        ++start;
    // from_chars takes a minus sign but not a plus sign.
    if (start + 1 < text.size() && text[start] == '+' && text[start + 1] != '-')
        ++start;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0.0;
}

} // namespace halvera
