#pragma once

#include <string>
#include <variant>
#include <vector>

namespace halvera {

// One scanner the scanner library can reach.
struct ScannerDevice {
    std::string name; // what opening the device takes, e.g. "pnm:0"
    std::string vendor;
    std::string model;
    std::string type;
};

enum class ScanValueType { Bool, Int, Fixed, String, Button, Group };
enum class ScanUnit { None, Pixel, Bit, Millimetre, Dpi, Percent, Microsecond };
enum class ScanConstraint { None, Range, NumberList, StringList };

// The value of a single-valued option: bool for Bool, int for Int, double for
// Fixed (the device's 16.16 fixed point), text for String; monostate for
// buttons, groups and options whose value cannot be read.
using ScanValue = std::variant<std::monostate, bool, int, double, std::string>;

// What the device says about one of its options. Options are found by name;
// a group only titles the options that follow it.
struct ScanOption {
    std::string name;
    std::string title;
    std::string description;
    ScanValueType type = ScanValueType::Int;
    ScanUnit unit = ScanUnit::None;
    int valueCount = 1; // more than 1: an array (gamma tables and the like)
    bool active = true;
    bool settable = true; // the frontend may set it
    bool advanced = false;
    ScanConstraint constraint = ScanConstraint::None;
    double min = 0.0; // Range
    double max = 0.0;
    double quant = 0.0;             // 0: any value in the range
    std::vector<double> numbers;    // NumberList
    std::vector<std::string> texts; // StringList
    ScanValue value;                // current value, for single-valued options

    // Settable now through a single value (not an array, not a group).
    bool editable() const {
        return active && settable && valueCount == 1 && type != ScanValueType::Group;
    }
};

// An option's value as the user set it, to be set again when the device is
// opened another time.
struct ScanSetting {
    std::string name;
    ScanValue value;
};

// The well-known option names of the scanner library.
inline constexpr const char* kScanOptionMode = "mode";
inline constexpr const char* kScanOptionResolution = "resolution";
inline constexpr const char* kScanOptionTopLeftX = "tl-x";
inline constexpr const char* kScanOptionTopLeftY = "tl-y";
inline constexpr const char* kScanOptionBottomRightX = "br-x";
inline constexpr const char* kScanOptionBottomRightY = "br-y";

// The option called `name`, or null.
const ScanOption* FindScanOption(const std::vector<ScanOption>& options, const std::string& name);

} // namespace halvera
