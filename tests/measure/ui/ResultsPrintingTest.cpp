#include "measure/ui/ResultsPrinting.h"

#include "ImageFileTestSupport.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace halvera::testing {
namespace {

// A printer that writes a PDF file, as there is no printer on a test machine.
class PdfPrinter {
public:
    explicit PdfPrinter(const std::string& path) : printer_(QPrinter::HighResolution) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(QString::fromStdString(path));
    }
    QPrinter& printer() { return printer_; }

    // Rows per page by the rule: page height over the height of "A", less 6.
    int rowsPerPage() {
        QPainter painter(&printer_);
        const int rows = printer_.height() / painter.fontMetrics().height() - 6;
        painter.end();
        return rows;
    }

private:
    QPrinter printer_;
};

// What a program run prints, or an empty string when it did not finish in time.
std::string Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().toStdString();
}

int PageCount(const std::string& pdf) {
    const std::string info = Run(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

std::string PdfText(const std::string& pdf, int page) {
    return Run(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                QStringLiteral("-l"), QString::number(page), QString::fromStdString(pdf),
                QStringLiteral("-")});
}

// pdftotext keeps words but not always the blanks between them.
std::string WithoutBlanks(std::string text) {
    std::erase(text, ' ');
    return text;
}

std::vector<ResultRowTexts> LineRows(int count) {
    std::vector<ResultRowTexts> rows;
    for (int i = 0; i < count; ++i) {
        ResultRowTexts row{"(" + std::to_string(i + 1) + ")"};
        for (int v = 0; v < 10; ++v)
            row.push_back(std::to_string(i) + "." + std::to_string(v) + "00");
        rows.push_back(row);
    }
    return rows;
}

std::tm Evening() {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 6;
    time.tm_mday = 14;
    time.tm_wday = 2;
    time.tm_hour = 18;
    time.tm_min = 30;
    return time;
}

TEST(PrintResults, ExactlyOnePageOfRowsPrintsOnePageOneMoreTwo) {
    TemporaryFolder folder;
    const std::string one = folder.file("one.pdf");
    PdfPrinter first(one);
    const int rows = first.rowsPerPage();
    ASSERT_GT(rows, 10);
    ASSERT_TRUE(PrintResults(first.printer(), MeasureKind::Line, OutputSelection(), LineRows(rows),
                             Evening()));
    EXPECT_EQ(PageCount(one), 1);

    const std::string two = folder.file("two.pdf");
    PdfPrinter second(two);
    ASSERT_TRUE(PrintResults(second.printer(), MeasureKind::Line, OutputSelection(),
                             LineRows(rows + 1), Evening()));
    EXPECT_EQ(PageCount(two), 2);
    const std::string last = PdfText(two, 2);
    EXPECT_NE(last.find("(" + std::to_string(rows + 1) + ")"), std::string::npos) << last;
    EXPECT_EQ(last.find("(" + std::to_string(rows) + ")"), std::string::npos) << last;
    EXPECT_NE(WithoutBlanks(last).find("-2-"), std::string::npos);
    EXPECT_NE(last.find("Line Measurement Results"), std::string::npos);
}

TEST(PrintResults, PageShowsTitleDateHeadingsCellsAndFooter) {
    TemporaryFolder folder;
    const std::string pdf = folder.file("page.pdf");
    PdfPrinter printer(pdf);
    OutputSelection selection = OutputSelection::NoItems();
    selection.add(4);  // Xs
    selection.add(11); // DY
    ASSERT_TRUE(
        PrintResults(printer.printer(), MeasureKind::Line, selection, LineRows(3), Evening()));
    EXPECT_EQ(printer.printer().docName(), QStringLiteral("Halvera"));
    const std::string text = PdfText(pdf, 1);
    EXPECT_NE(text.find("Line Measurement Results"), std::string::npos) << text;
    EXPECT_NE(WithoutBlanks(text).find("18:3000,Tuesday,July14,2026"), std::string::npos) << text;
    EXPECT_NE(WithoutBlanks(text).find("-1-"), std::string::npos);
    // Only the selected columns: "No", "Xs" (cell 3) and "DY" (cell 10).
    EXPECT_NE(text.find("No"), std::string::npos);
    EXPECT_NE(text.find("Xs"), std::string::npos);
    EXPECT_NE(text.find("DY"), std::string::npos);
    EXPECT_EQ(text.find("Length"), std::string::npos);
    EXPECT_NE(text.find("2.200"), std::string::npos) << text;
    EXPECT_NE(text.find("2.900"), std::string::npos);
    EXPECT_EQ(text.find("2.000"), std::string::npos);
}

// A printed word and where it stands, from pdftotext -bbox.
struct PrintedWord {
    std::string text;
    double left, top, right;
};

std::vector<PrintedWord> PrintedWords(const std::string& pdf) {
    const std::string html =
        Run(QStringLiteral("pdftotext"),
            {QStringLiteral("-bbox"), QString::fromStdString(pdf), QStringLiteral("-")});
    std::vector<PrintedWord> words;
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word);
         it != std::sregex_iterator(); ++it)
        words.push_back({(*it)[4].str(), std::stod((*it)[1].str()), std::stod((*it)[2].str()),
                         std::stod((*it)[3].str())});
    return words;
}

// With "Error detect" on, each cell holds value, deviation and verdict: every
// cell prints as a word of its own, clear of its neighbours on the line.
TEST(PrintResults, JudgedCellsStandApartInTheirColumns) {
    TemporaryFolder folder;
    const std::string pdf = folder.file("judged.pdf");
    PdfPrinter printer(pdf);
    std::vector<ResultRowTexts> rows;
    for (int i = 0; i < 12; ++i) {
        ResultRowTexts row{"(" + std::to_string(i + 1) + ")"};
        for (int v = 0; v < 10; ++v)
            row.push_back(std::to_string(100 * i + v) + ".125(-" + std::to_string(v) + ".375" +
                          (v % 2 ? "Error" : "Pass") + ")");
        rows.push_back(row);
    }
    // Three value columns, which fit across the page: Length, Xs and DY.
    OutputSelection selection = OutputSelection::NoItems();
    for (const int item : {2, 4, 11})
        selection.add(item);
    ASSERT_TRUE(PrintResults(printer.printer(), MeasureKind::Line, selection, rows, Evening()));
    const std::vector<PrintedWord> words = PrintedWords(pdf);
    ASSERT_FALSE(words.empty());
    for (const ResultRowTexts& row : rows)
        for (const size_t cell : {0u, 1u, 3u, 10u})
            EXPECT_TRUE(std::any_of(words.begin(), words.end(),
                                    [&](const PrintedWord& w) { return w.text == row[cell]; }))
                << row[cell] << " is not a word of its own";
    for (const PrintedWord& a : words)
        for (const PrintedWord& b : words)
            if (&a != &b && std::abs(a.top - b.top) < 1.0 && a.left < b.left) {
                EXPECT_LT(a.right, b.left) << a.text << " runs into " << b.text;
            }
}

TEST(PrintResults, AJobThatCannotStartReportsFailure) {
    TemporaryFolder folder;
    const std::string pdf = folder.file("missing/folder/page.pdf");
    PdfPrinter printer(pdf);
    EXPECT_FALSE(PrintResults(printer.printer(), MeasureKind::Point, OutputSelection(), LineRows(2),
                              Evening()));
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

} // namespace
} // namespace halvera::testing
