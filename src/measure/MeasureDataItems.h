#pragma once

#include "document/MeasureKind.h"

#include <array>
#include <string_view>

namespace halvera {

// The 33 measured values ("data items") that can be judged and output, numbered
// k = 0..32 kind by kind in tab order: point 0..1, line 2..11, circle 12..17,
// rectangle 18..23, angle 24..32. Within a kind the items follow the order of
// the value formulas, which is also the order of the results panel's columns.
inline constexpr int kDataItemCount = 33;
inline constexpr int kMeasureKindCount = 5;

// Every name one data item goes by.
struct DataItemNames {
    MeasureKind kind;
    std::string_view value;   // the tolerance dialog's list and the text export ("Length")
    std::string_view column;  // results panel column header ("Length(Error)")
    std::string_view output;  // the "Output Data" dialog ("Length(Line)")
    std::string_view heading; // column heading of the printed results ("Length")
    std::string_view report;  // name of a value line in the text export ("Length")
};

const DataItemNames& DataItem(int k);

// The first data item of a kind and how many it has.
struct DataItemRange {
    int first;
    int count;
};
DataItemRange DataItemsOf(MeasureKind kind);

// "Point", "Line", "Circle", "Rectangle", "Angle": the tab names.
std::string_view KindTabName(MeasureKind kind);

// The kinds in tab order.
inline constexpr std::array<MeasureKind, kMeasureKindCount> kAllMeasureKinds = {
    MeasureKind::Point, MeasureKind::Line, MeasureKind::Circle, MeasureKind::Rectangle,
    MeasureKind::Angle};

} // namespace halvera
