#include "measure/ToleranceTable.h"

#include <charconv>

namespace halvera {

JudgedValue Judge(double value, const ToleranceEntry& entry) {
    const double deviation = value - entry.standard;
    // Written as two true comparisons so that NaN fails.
    const bool pass = deviation >= entry.lower && deviation <= entry.upper;
    return {value, deviation, pass};
}

std::string FormatValue(double value) {
    char text[400]; // wide enough for the largest double in fixed notation
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
    return std::string(text, result.ptr);
}

std::string FormatJudged(const JudgedValue& judged) {
    return FormatValue(judged.value) + "(" + FormatValue(judged.deviation) +
           (judged.pass ? "Pass)" : "Error)");
}

std::string ResultCellText(double value, const ToleranceEntry& entry, bool errorDetection) {
    return errorDetection ? FormatJudged(Judge(value, entry)) : FormatValue(value);
}

} // namespace halvera
