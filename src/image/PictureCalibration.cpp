#include "image/PictureCalibration.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace halvera {

namespace {

constexpr double kLargestSize = 2000.0; // for the pixel and the real size alike
constexpr int kUnitCount = 5;
constexpr int kMicrometre = 0;
constexpr int kMillimetre = 1;
constexpr int kCentimetre = 2;

struct AxisSizes {
    int32_t pixels;
    double real;
};

std::optional<AxisSizes> SizesForScale(double scale) {
    if (!(scale > 0.0) || scale > kLargestSize)
        return std::nullopt;
    double pixels = std::clamp(std::floor(kLargestSize / scale), 1.0, kLargestSize);
    // The quotient may round up across a whole number.
    if (pixels * scale > kLargestSize && pixels > 1.0)
        pixels -= 1.0;
    return AxisSizes{static_cast<int32_t>(pixels), pixels * scale};
}

std::string NumberText(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

template <typename Number> bool ParseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Stores the value of one "name=value" word in `record`; false when the name
// is unknown or the value no number.
bool TakeWord(std::string_view word, CalibrationRecord& record, int& found) {
    const size_t equals = word.find('=');
    if (equals == std::string_view::npos)
        return false;
    const std::string_view name = word.substr(0, equals);
    const std::string_view value = word.substr(equals + 1);
    ++found;
    if (name == "unit")
        return ParseNumber(value, record.unit);
    if (name == "realX")
        return ParseNumber(value, record.realX);
    if (name == "realY")
        return ParseNumber(value, record.realY);
    if (name == "pixelWidth")
        return ParseNumber(value, record.pixelWidth);
    if (name == "pixelHeight")
        return ParseNumber(value, record.pixelHeight);
    return false;
}

bool WithinLimits(const CalibrationRecord& record) {
    const auto real = [](double size) {
        return size > 0.0 && size <= kLargestSize;
    };
    const auto pixels = [](int32_t size) {
        return size > 0 && size <= kLargestSize;
    };
    return record.unit >= 0 && record.unit < kUnitCount && real(record.realX) &&
           real(record.realY) && pixels(record.pixelWidth) && pixels(record.pixelHeight);
}

} // namespace

double RulerUnitInMetres(int unit) {
    constexpr std::array<double, kUnitCount> kMetres = {1e-6, 1e-3, 1e-2, 1e-1, 0.0254};
    return kMetres[static_cast<size_t>(std::clamp(unit, 0, kUnitCount - 1))];
}

std::optional<CalibrationRecord> CalibrationForUnitScale(int unit, double scaleX, double scaleY) {
    const std::optional<AxisSizes> x = SizesForScale(scaleX);
    const std::optional<AxisSizes> y = SizesForScale(scaleY);
    if (!x || !y)
        return std::nullopt;
    return CalibrationRecord{unit, x->real, y->real, x->pixels, y->pixels};
}

std::optional<CalibrationRecord> CalibrationForPixelSize(double metresX, double metresY) {
    const double larger = std::max(metresX, metresY);
    const int unit = larger < 1e-4 ? kMicrometre : larger < 1e-2 ? kMillimetre : kCentimetre;
    const double metres = RulerUnitInMetres(unit);
    return CalibrationForUnitScale(unit, metresX / metres, metresY / metres);
}

std::string CalibrationRecordText(const CalibrationRecord& record) {
    return "unit=" + std::to_string(record.unit) + " realX=" + NumberText(record.realX) +
           " realY=" + NumberText(record.realY) +
           " pixelWidth=" + std::to_string(record.pixelWidth) +
           " pixelHeight=" + std::to_string(record.pixelHeight);
}

std::optional<CalibrationRecord> ParseCalibrationRecordText(std::string_view text) {
    CalibrationRecord record;
    int found = 0;
    while (!text.empty()) {
        const size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        if (!word.empty() && !TakeWord(word, record, found))
            return std::nullopt;
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    }
    constexpr int kWords = 5;
    if (found != kWords || !WithinLimits(record))
        return std::nullopt;
    return record;
}

std::optional<CalibrationRecord> CalibrationToWrite(const AppSettings& settings) {
    const CalibrationRecord record{settings.RulerUnit, settings.xRealRulerData,
                                   settings.yRealRulerData, settings.xPixelRulerData,
                                   settings.yPixelRulerData};
    if (record == CalibrationRecord{} && settings.RulerPreset.empty())
        return std::nullopt;
    return record;
}

} // namespace halvera
