#include "measure/MeasureNumber.h"

#include <charconv>

namespace halvera {

std::string FormatDecimals(double value, int decimals) {
    // The largest double in fixed notation has 309 digits before the point.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string FormatMeasureValue(double value) {
    return FormatDecimals(value, 3);
}

} // namespace halvera
