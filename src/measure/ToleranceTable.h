#pragma once

#include <array>
#include <string>

namespace halvera {

// The standard value of one data item and the limits its deviation from the
// standard must keep: a value passes when lower <= value - standard <= upper,
// so a symmetric tolerance of 0.05 is upper 0.05 and lower -0.05.
struct ToleranceEntry {
    double standard = 0.0;
    double upper = 0.0;
    double lower = 0.0;
    bool operator==(const ToleranceEntry&) const = default;
};

// One entry per data item. Entries 0..32 belong to the 33 data items
// (MeasureDataItems.h); the rest are kept with the table and its file but never
// read. All zero at start, so every value that is not exactly its standard fails.
struct ToleranceTable {
    static constexpr int kEntries = 100;
    std::array<ToleranceEntry, kEntries> entries{};
    bool operator==(const ToleranceTable&) const = default;
};

// Whether the entry has been set: one left all zero judges nothing yet, so a
// recipe keeps only the entries in use and the image marks only the items
// that fail one.
bool EntryInUse(const ToleranceEntry& entry);

// A value judged against its entry.
struct JudgedValue {
    double value;
    double deviation; // value - standard
    bool pass;        // lower <= deviation <= upper; a deviation that is not a number fails
};
JudgedValue Judge(double value, const ToleranceEntry& entry);

// "%0.3f(%0.3fPass)" or "%0.3f(%0.3fError)" with the value and its deviation.
std::string FormatJudged(const JudgedValue& judged);
// A results cell: the plain value, or with error detection on the judged value.
std::string ResultCellText(double value, const ToleranceEntry& entry, bool errorDetection);

} // namespace halvera
