#include "measure/ui/ResultsPrinting.h"

#include "measure/ResultDate.h"
#include "measure/ResultsPageLayout.h"
#include "platform/ui/QtText.h"

#include <QPainter>
#include <QPrinter>

namespace halvera {

namespace {

// Draws `text` with its top-left corner at (x, y).
void DrawTextAt(QPainter& painter, int x, int y, std::string_view text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), ToQString(text));
}

void DrawPage(QPainter& painter, const ResultsPageLayout& layout, int page,
              const std::vector<ResultRowTexts>& rows, const std::string& date) {
    DrawTextAt(painter, layout.titleX(), layout.titleY(), layout.title);
    const int dateWidth = painter.fontMetrics().horizontalAdvance(ToQString(date));
    DrawTextAt(painter, layout.pageWidth - dateWidth, layout.dateY(), date);

    painter.save();
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine));
    painter.drawLine(layout.ruleLeft(), layout.ruleY(), layout.pageWidth, layout.ruleY());
    painter.restore();

    for (const ResultsPageLayout::Column& column : layout.columns)
        DrawTextAt(painter, column.x, layout.headingY(), column.heading);
    const int rowCount = static_cast<int>(rows.size());
    for (int row = layout.firstRow(page); row < layout.endRow(page, rowCount); ++row) {
        const ResultRowTexts& cells = rows[static_cast<size_t>(row)];
        const int y = layout.rowY(row - layout.firstRow(page));
        for (const ResultsPageLayout::Column& column : layout.columns) {
            const size_t cell = static_cast<size_t>(column.panelColumn);
            if (cell < cells.size())
                DrawTextAt(painter, column.x, y, cells[cell]);
        }
    }
    DrawTextAt(painter, layout.footerX(), layout.footerY(), PageFooterText(page));
}

} // namespace

bool PrintResults(QPrinter& printer, MeasureKind kind, const OutputSelection& selection,
                  const std::vector<ResultRowTexts>& rows, const std::tm& now) {
    printer.setDocName(QStringLiteral("Halvera"));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QFontMetrics metrics = painter.fontMetrics();
    const ResultsPageLayout layout = LayoutResultsPage(
        kind, selection, metrics.horizontalAdvance(QStringLiteral("A")), metrics.height(),
        printer.width(), printer.height(),
        [&metrics](std::string_view text) { return metrics.horizontalAdvance(ToQString(text)); },
        rows);
    std::string date = ResultDateLine(now);
    date.pop_back(); // the line feed ends a line of the text file, not of the page

    const int pages = layout.pageCount(static_cast<int>(rows.size()));
    for (int page = 1; page <= pages; ++page) {
        if (page > 1 && !printer.newPage()) {
            printer.abort();
            painter.end();
            return false;
        }
        DrawPage(painter, layout, page, rows, date);
    }
    return painter.end();
}

} // namespace halvera
