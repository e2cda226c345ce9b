#pragma once

#include "acquire/ScanOption.h"

#include <string>
#include <string_view>

namespace halvera {

// A value read from text for one option, or why the text does not fit.
struct ParsedScanValue {
    ScanValue value;
    std::string error; // empty when the text was read

    bool ok() const { return error.empty(); }
};

// Reads `text` as a value of `option`'s type, independently of the locale:
// yes/no (also true/false, on/off, 1/0) for a switch, a whole number, a
// decimal number for a fixed-point option, any text for a string (one of the
// listed ones, in any letter case, when the option has a list), and nothing
// at all for a button. Whether the device accepts a number is the device's
// to say; only its form is checked here.
ParsedScanValue ParseScanValue(const ScanOption& option, std::string_view text);

// The value as ParseScanValue reads it back ("yes", "75", "12.5", the text).
std::string FormatScanValue(const ScanValue& value);

} // namespace halvera
