#pragma once

#include "document/MeasureKind.h"
#include "measure/OutputSelection.h"
#include "measure/ResultRows.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halvera {

// Where everything of a printed results page goes, in device pixels, measured
// in the printer font's width cx and height cy of the text "A". Text positions
// are the top-left corner of the text.
//
//   title "<Tab> Measurement Results" at (2 cx, cy), the date line right-aligned
//   at height cy, a 3-pixel rule from (cx, 2 cy + 1) to (page width, 2 cy + 1),
//   column headings at 3 cy, rows from 4 cy one every cy, footer "- n -" with
//   its left edge at half the page width and its top at page height - cy.
struct ResultsPageLayout {
    struct Column {
        int panelColumn;     // the results panel column whose cells it prints (0: "No")
        std::string heading; // "No", "X", "Length", ...
        int x;
    };

    int cx = 0;
    int cy = 0;
    int pageWidth = 0;
    int pageHeight = 0;
    // L = page height / cy - 6, at least 1 so that a huge font still prints.
    int rowsPerPage = 1;
    std::string title;
    std::vector<Column> columns;

    int titleX() const { return 2 * cx; }
    int titleY() const { return cy; }
    int dateY() const { return cy; }
    int ruleY() const { return 2 * cy + 1; }
    int ruleLeft() const { return cx; }
    int headingY() const { return 3 * cy; }
    // The top of row `line` of a page (0 = first row on the page).
    int rowY(int line) const { return 4 * cy + line * cy; }
    int footerX() const { return pageWidth / 2; }
    int footerY() const { return pageHeight - cy; }

    // Pages for `rows` rows: rows / L rounded up.
    int pageCount(int rows) const;
    // The first row of page `page` (from 1) and one past its last.
    int firstRow(int page) const { return (page - 1) * rowsPerPage; }
    int endRow(int page, int rows) const;
};

using TextWidth = std::function<int(std::string_view)>;

// The layout of the `kind` results on a page of the given size for `rows`
// (each the label and the value cells, as the panel shows them). The columns:
// "No" at 2 cx, the next 3 cx past the widest text of the "No" column, every
// following one 12 cx past the widest text of the column before it, its
// heading or any of its cells (a judged cell such as "50.000(-0.200Pass)" is
// far wider than its heading). Points print both columns; the other kinds
// only the columns whose item `selection` holds.
ResultsPageLayout LayoutResultsPage(MeasureKind kind, const OutputSelection& selection, int cx,
                                    int cy, int pageWidth, int pageHeight,
                                    const TextWidth& textWidth,
                                    const std::vector<ResultRowTexts>& rows);

// "- 3 -" for page 3.
std::string PageFooterText(int page);

} // namespace halvera
