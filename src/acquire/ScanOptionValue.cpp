#include "acquire/ScanOptionValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace halvera {

namespace {

// The device's fixed-point numbers are 16.16: their whole part fits in 16 bits.
constexpr double kFixedLimit = 32767.0;

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return lower;
}

ParsedScanValue Refuse(const ScanOption& option, std::string_view text, const char* expected) {
    return {{},
            "the option " + option.name + " takes " + expected + ", not '" + std::string(text) +
                "'"};
}

ParsedScanValue ParseBool(const ScanOption& option, std::string_view text) {
    const std::string lower = Lowercase(text);
    if (lower == "yes" || lower == "true" || lower == "on" || lower == "1")
        return {true, {}};
    if (lower == "no" || lower == "false" || lower == "off" || lower == "0")
        return {false, {}};
    return Refuse(option, text, "yes or no");
}

ParsedScanValue ParseInt(const ScanOption& option, std::string_view text) {
    int value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last)
        return Refuse(option, text, "a whole number");
    return {value, {}};
}

ParsedScanValue ParseFixed(const ScanOption& option, std::string_view text) {
    double value = 0.0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != last || !std::isfinite(value) ||
        std::fabs(value) > kFixedLimit)
        return Refuse(option, text, "a number from -32767 to 32767");
    return {value, {}};
}

// One of the listed texts: the same, or the same but for letter case.
ParsedScanValue ParseListedText(const ScanOption& option, std::string_view text) {
    for (const std::string& listed : option.texts) {
        if (listed == text)
            return {listed, {}};
    }
    for (const std::string& listed : option.texts) {
        if (Lowercase(listed) == Lowercase(text))
            return {listed, {}};
    }
    std::string choices;
    for (const std::string& listed : option.texts)
        choices += (choices.empty() ? "" : ", ") + listed;
    return {{},
            "the option " + option.name + " takes one of " + choices + ", not '" +
                std::string(text) + "'"};
}

} // namespace

ParsedScanValue ParseScanValue(const ScanOption& option, std::string_view text) {
    switch (option.type) {
    case ScanValueType::Bool:
        return ParseBool(option, text);
    case ScanValueType::Int:
        return ParseInt(option, text);
    case ScanValueType::Fixed:
        return ParseFixed(option, text);
    case ScanValueType::String:
        if (option.constraint == ScanConstraint::StringList)
            return ParseListedText(option, text);
        return {std::string(text), {}};
    case ScanValueType::Button:
        if (!text.empty())
            return Refuse(option, text, "no value (it is a button)");
        return {std::monostate{}, {}};
    case ScanValueType::Group:
        break;
    }
    return {{}, option.name + " is a group title, not an option"};
}

std::string FormatScanValue(const ScanValue& value) {
    struct Formatter {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(bool on) const { return on ? "yes" : "no"; }
        std::string operator()(int number) const { return std::to_string(number); }
        std::string operator()(double number) const {
            char buffer[64];
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
            return std::string(buffer, result.ptr);
        }
        std::string operator()(const std::string& text) const { return text; }
    };
    return std::visit(Formatter{}, value);
}

} // namespace halvera
