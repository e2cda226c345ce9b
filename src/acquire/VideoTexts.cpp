#include "acquire/VideoTexts.h"

#include "image/AppSettings.h"

#include <charconv>
#include <cmath>

namespace halvera {

namespace {

// Reads text as the C library's atof does in the C locale.
double ReadDecimal(std::string_view text) {
    return AppSettings::ParseRulerReal(text);
}

} // namespace

std::string FormatFixed(double value, int decimals) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

std::string FormatCaptureTime(double seconds) {
    return FormatFixed(seconds, 2);
}

double ParseCaptureTime(std::string_view text) {
    const double seconds = ReadDecimal(text);
    return std::isfinite(seconds) && seconds > 0.0 ? seconds : 1.0;
}

std::string FormatCaptureRate(double rate) {
    return FormatFixed(rate, 6);
}

double ParseCaptureRate(std::string_view text) {
    const double rate = ReadDecimal(text);
    return std::isfinite(rate) && rate > 0.0 ? rate : 24.0;
}

std::string FormatPlayRate(double rate) {
    return FormatFixed(rate, 3);
}

double ParsePlayRate(std::string_view text) {
    const double rate = ReadDecimal(text);
    return std::isfinite(rate) && rate >= 0.0 ? rate : 1.0;
}

std::string CaptureConfirmationText(double seconds, double rate, std::string_view source,
                                    std::string_view file) {
    std::string text = "\nCapture time:" + FormatFixed(seconds, 2) +
                       "(s)\nCapture rate:" + FormatFixed(rate, 2) + "(fps)";
    text += "\nSource:";
    text += source;
    text += "\nFile name:";
    text += file;
    text += "\n\nStart capture to the disc?";
    return text;
}

std::string CannotPlayMessage(std::string_view path, std::string_view reason) {
    std::string text = "Cannot play the file ";
    text += path;
    text += ": ";
    text += reason;
    return text;
}

double CaptureTimeLeft(double limitSeconds, double elapsedMs) {
    return (limitSeconds * 1000.0 - elapsedMs) * 0.001;
}

std::string CaptureStatusText(double secondsLeft, double rate) {
    if (!(secondsLeft > 0.0))
        return " ";
    return "Capture time left: " + FormatFixed(secondsLeft, 1) +
           "(s) Rate:" + FormatFixed(rate, 1) + "(fps)";
}

bool PlaybackProgress(int64_t position, int64_t duration, int64_t& percent) {
    if (duration <= 0)
        return false;
    // position x 100 overflows only past 2.9 years of nanoseconds; the
    // framework's positions stay far below that.
    percent = position * 100 / duration;
    return true;
}

std::string ProgressStatusText(int64_t percent) {
    return percent < 100 ? "Progress: " + std::to_string(percent) + " %" : " ";
}

} // namespace halvera
