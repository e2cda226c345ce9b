#include "measure/ToleranceTable.h"

#include "measure/MeasureNumber.h"

namespace halvera {

bool EntryInUse(const ToleranceEntry& entry) {
    return entry != ToleranceEntry{};
}

JudgedValue Judge(double value, const ToleranceEntry& entry) {
    const double deviation = value - entry.standard;
    // Written as two true comparisons so that NaN fails.
    const bool pass = deviation >= entry.lower && deviation <= entry.upper;
    return {value, deviation, pass};
}

std::string FormatJudged(const JudgedValue& judged) {
    return FormatMeasureValue(judged.value) + "(" + FormatMeasureValue(judged.deviation) +
           (judged.pass ? "Pass)" : "Error)");
}

std::string ResultCellText(double value, const ToleranceEntry& entry, bool errorDetection) {
    return errorDetection ? FormatJudged(Judge(value, entry)) : FormatMeasureValue(value);
}

} // namespace halvera
