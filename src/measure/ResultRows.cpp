#include "measure/ResultRows.h"

#include "measure/MeasureDataItems.h"
#include "measure/MeasureValues.h"

namespace halvera {

std::string RowLabel(int row) {
    return "(" + std::to_string(row + 1) + ")";
}

std::vector<std::string> ResultRowCells(const MeasureData& data, MeasureKind kind, int item,
                                        const ResultJudging& judging) {
    const MeasureRow values = MeasureItemRow(data, kind, item, judging.scale);
    const int first = DataItemsOf(kind).first;
    std::vector<std::string> cells;
    cells.reserve(static_cast<size_t>(values.count) + 1);
    cells.push_back(RowLabel(item));
    for (int i = 0; i < values.count; ++i) {
        const ToleranceEntry& entry = judging.tolerance.entries[static_cast<size_t>(first + i)];
        cells.push_back(
            ResultCellText(values.values[static_cast<size_t>(i)], entry, judging.errorDetection));
    }
    return cells;
}

bool ItemJudgedError(const MeasureData& data, MeasureKind kind, int item,
                     const ResultJudging& judging) {
    if (!judging.errorDetection)
        return false;
    const MeasureRow values = MeasureItemRow(data, kind, item, judging.scale);
    const int first = DataItemsOf(kind).first;
    for (int i = 0; i < values.count; ++i) {
        const ToleranceEntry& entry = judging.tolerance.entries[static_cast<size_t>(first + i)];
        if (EntryInUse(entry) && !Judge(values.values[static_cast<size_t>(i)], entry).pass)
            return true;
    }
    return false;
}

} // namespace halvera
