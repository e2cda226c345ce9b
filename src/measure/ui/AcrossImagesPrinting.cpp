#include "measure/ui/AcrossImagesPrinting.h"

#include "measure/ResultDate.h"
#include "platform/ui/QtText.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace halvera {

namespace {

// Writes lines down the page, starting a new page when one is full.
class LineWriter {
public:
    LineWriter(QPrinter& printer, QPainter& painter)
        : printer_(printer), painter_(painter), lineHeight_(painter.fontMetrics().height()) {}

    // Cells at the x positions of `columns` (in device pixels); false when a
    // new page could not be started.
    template <size_t N>
    bool line(const std::array<std::string, N>& cells, const std::vector<int>& columns) {
        if (y_ + lineHeight_ > printer_.height()) {
            if (!printer_.newPage())
                return false;
            y_ = 0;
        }
        for (size_t i = 0; i < N && i < columns.size(); ++i)
            painter_.drawText(columns[i], y_ + painter_.fontMetrics().ascent(),
                              ToQString(cells[i]));
        y_ += lineHeight_;
        return true;
    }
    void gap() { y_ += lineHeight_; }

private:
    QPrinter& printer_;
    QPainter& painter_;
    int lineHeight_;
    int y_ = 0;
};

// Each column starts past the widest text it holds, headings included.
template <size_t N>
std::vector<int> ColumnPositions(const QFontMetrics& metrics,
                                 const std::array<std::string_view, N>& headings,
                                 const std::vector<std::array<std::string, N>>& rows) {
    std::vector<int> positions;
    int x = 0;
    for (size_t column = 0; column < N; ++column) {
        positions.push_back(x);
        int widest = metrics.horizontalAdvance(ToQString(headings[column]));
        for (const auto& row : rows)
            widest = std::max(widest, metrics.horizontalAdvance(ToQString(row[column])));
        x += widest + metrics.horizontalAdvance(QStringLiteral("MM"));
    }
    return positions;
}

template <size_t N> std::array<std::string, N> Headings(const std::array<std::string_view, N>& in) {
    std::array<std::string, N> out;
    std::copy(in.begin(), in.end(), out.begin());
    return out;
}

} // namespace

bool PrintAcrossImages(QPrinter& printer, const std::vector<SummaryRow>& summary,
                       const std::vector<AcrossImagesRow>& rows, const std::tm& now) {
    printer.setDocName(QStringLiteral("Halvera"));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    LineWriter writer(printer, painter);
    std::string date = ResultDateLine(now);
    date.pop_back(); // the line feed ends a line of the text file, not of the page
    bool printed = writer.line(std::array<std::string, 2>{"Results across images", date},
                               {0, printer.width() / 2});
    writer.gap();
    const std::vector<int> summaryColumns =
        ColumnPositions(painter.fontMetrics(), kSummaryColumns, summary);
    printed = printed && writer.line(Headings(kSummaryColumns), summaryColumns);
    for (const SummaryRow& row : summary)
        printed = printed && writer.line(row, summaryColumns);
    writer.gap();
    const std::vector<int> rowColumns =
        ColumnPositions(painter.fontMetrics(), kAcrossImagesColumns, rows);
    printed = printed && writer.line(Headings(kAcrossImagesColumns), rowColumns);
    for (const AcrossImagesRow& row : rows)
        printed = printed && writer.line(row, rowColumns);
    if (!printed)
        printer.abort();
    return painter.end() && printed;
}

} // namespace halvera
