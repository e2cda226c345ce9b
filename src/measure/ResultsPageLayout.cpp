#include "measure/ResultsPageLayout.h"

#include "measure/MeasureDataItems.h"

#include <algorithm>

namespace halvera {

int ResultsPageLayout::pageCount(int rows) const {
    return rows <= 0 ? 0 : (rows + rowsPerPage - 1) / rowsPerPage;
}

int ResultsPageLayout::endRow(int page, int rows) const {
    return std::min(page * rowsPerPage, rows);
}

namespace {

// The widest of a column's heading and its cells.
int ColumnTextWidth(const std::string& heading, int panelColumn,
                    const std::vector<ResultRowTexts>& rows, const TextWidth& textWidth) {
    int widest = textWidth(heading);
    const auto cell = static_cast<size_t>(panelColumn);
    for (const ResultRowTexts& row : rows)
        if (cell < row.size())
            widest = std::max(widest, textWidth(row[cell]));
    return widest;
}

} // namespace

ResultsPageLayout LayoutResultsPage(MeasureKind kind, const OutputSelection& selection, int cx,
                                    int cy, int pageWidth, int pageHeight,
                                    const TextWidth& textWidth,
                                    const std::vector<ResultRowTexts>& rows) {
    ResultsPageLayout layout;
    layout.cx = cx;
    layout.cy = cy;
    layout.pageWidth = pageWidth;
    layout.pageHeight = pageHeight;
    layout.rowsPerPage = cy > 0 ? std::max(1, pageHeight / cy - 6) : 1;
    layout.title = std::string(KindTabName(kind)) + " Measurement Results";

    layout.columns.push_back({0, "No", 2 * cx});
    int x = 2 * cx + ColumnTextWidth("No", 0, rows, textWidth) + 3 * cx;
    const DataItemRange items = DataItemsOf(kind);
    for (int i = 0; i < items.count; ++i) {
        const int k = items.first + i;
        if (kind != MeasureKind::Point && !selection.contains(k))
            continue;
        const std::string heading(DataItem(k).heading);
        layout.columns.push_back({i + 1, heading, x});
        x += ColumnTextWidth(heading, i + 1, rows, textWidth) + 12 * cx;
    }
    return layout;
}

std::string PageFooterText(int page) {
    return "- " + std::to_string(page) + " -";
}

} // namespace halvera
