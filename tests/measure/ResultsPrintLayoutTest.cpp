#include "CommaLocale.h"
#include "measure/ResultDate.h"
#include "measure/ResultsPageLayout.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

std::tm Monday() {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 7;
    time.tm_wday = 1;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    return time;
}

TEST(ResultDateLine, HoursMinutesSecondsThenEnglishDate) {
    EXPECT_EQ(ResultDateLine(Monday()), "09:05 03,  Monday, December 07, 2026\n");
    std::tm sunday = Monday();
    sunday.tm_wday = 0;
    sunday.tm_mon = 0;
    sunday.tm_mday = 31;
    sunday.tm_hour = 23;
    EXPECT_EQ(ResultDateLine(sunday), "23:05 03,  Sunday, January 31, 2026\n");
}

TEST(ResultDateLine, GermanLocaleStillGivesEnglishNames) {
    testing::CommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no German locale could be made on this machine";
    char german[64];
    const std::tm time = Monday();
    std::strftime(german, sizeof german, "%A %B", &time);
    ASSERT_STREQ(german, "Montag Dezember"); // the locale really is German
    EXPECT_EQ(ResultDateLine(time), "09:05 03,  Monday, December 07, 2026\n");
}

// Every character 10 pixels wide: "No" is 20, "Length" 60.
int TenPerCharacter(std::string_view text) {
    return static_cast<int>(text.size()) * 10;
}

TEST(ResultsPageLayout, RowsPerPageAndPageCount) {
    // L = 1000 / 20 - 6 = 44.
    const ResultsPageLayout layout = LayoutResultsPage(MeasureKind::Line, OutputSelection(), 8, 20,
                                                       700, 1000, TenPerCharacter, {});
    EXPECT_EQ(layout.rowsPerPage, 44);
    EXPECT_EQ(layout.pageCount(0), 0);
    EXPECT_EQ(layout.pageCount(44), 1);
    EXPECT_EQ(layout.pageCount(45), 2);
    EXPECT_EQ(layout.pageCount(88), 2);
    EXPECT_EQ(layout.firstRow(2), 44);
    EXPECT_EQ(layout.endRow(2, 45), 45);
    EXPECT_EQ(layout.endRow(1, 45), 44);
}

TEST(ResultsPageLayout, AFontTallerThanThePageStillPrintsOneRowPerPage) {
    const ResultsPageLayout layout = LayoutResultsPage(MeasureKind::Point, OutputSelection(), 8,
                                                       300, 700, 1000, TenPerCharacter, {});
    EXPECT_EQ(layout.rowsPerPage, 1);
    EXPECT_EQ(layout.pageCount(3), 3);
}

TEST(ResultsPageLayout, PositionsOfTitleRuleRowsAndFooter) {
    const ResultsPageLayout layout = LayoutResultsPage(MeasureKind::Circle, OutputSelection(), 8,
                                                       20, 700, 1000, TenPerCharacter, {});
    EXPECT_EQ(layout.title, "Circle Measurement Results");
    EXPECT_EQ(layout.titleX(), 16);
    EXPECT_EQ(layout.titleY(), 20);
    EXPECT_EQ(layout.ruleLeft(), 8);
    EXPECT_EQ(layout.ruleY(), 41);
    EXPECT_EQ(layout.headingY(), 60);
    EXPECT_EQ(layout.rowY(0), 80);
    EXPECT_EQ(layout.rowY(3), 140);
    EXPECT_EQ(layout.footerX(), 350);
    EXPECT_EQ(layout.footerY(), 980);
    EXPECT_EQ(PageFooterText(12), "- 12 -");
}

TEST(ResultsPageLayout, ColumnsFollowTheHeadingWidths) {
    // "No" at 2 cx = 16; the next 20 + 3 cx = 44 further; then heading + 12 cx.
    const ResultsPageLayout layout = LayoutResultsPage(MeasureKind::Line, OutputSelection(), 8, 20,
                                                       700, 1000, TenPerCharacter, {});
    ASSERT_EQ(layout.columns.size(), 11u);
    EXPECT_EQ(layout.columns[0].heading, "No");
    EXPECT_EQ(layout.columns[0].x, 16);
    EXPECT_EQ(layout.columns[1].heading, "Length");
    EXPECT_EQ(layout.columns[1].x, 60);
    EXPECT_EQ(layout.columns[2].heading, "Angle");
    EXPECT_EQ(layout.columns[2].x, 60 + 60 + 96);
    EXPECT_EQ(layout.columns[3].x, 216 + 50 + 96);
    EXPECT_EQ(layout.columns[10].heading, "DY");
    EXPECT_EQ(layout.columns[10].panelColumn, 10);
}

// With "Error detect" on a cell holds the value, its deviation and the
// verdict, far wider than the heading: each column is as wide as its widest
// text, so no two columns meet.
TEST(ResultsPageLayout, ColumnsMakeRoomForTheirWidestCell) {
    const std::vector<ResultRowTexts> rows = {
        {"(1)", "50.000(-0.200Pass)", "0.000(0.000Pass)"},
        {"(10)", "7.500(-42.700Error)", "180.000(179.500Error)"}};
    const ResultsPageLayout layout = LayoutResultsPage(MeasureKind::Line, OutputSelection(), 8, 20,
                                                       700, 1000, TenPerCharacter, rows);
    // "(10)" is 40 wide: the next column 3 cx past it.
    EXPECT_EQ(layout.columns[1].x, 16 + 40 + 24);
    // "7.500(-42.700Error)", 19 characters, is the widest of the Length column.
    EXPECT_EQ(layout.columns[2].x, 80 + 190 + 96);
    // "180.000(179.500Error)", 21 characters, of the Angle column.
    EXPECT_EQ(layout.columns[3].x, 366 + 210 + 96);
    // Every cell ends before the next column starts.
    for (const ResultRowTexts& row : rows)
        for (size_t c = 0; c + 1 < layout.columns.size(); ++c) {
            const auto cell = static_cast<size_t>(layout.columns[c].panelColumn);
            if (cell < row.size()) {
                EXPECT_LT(layout.columns[c].x + TenPerCharacter(row[cell]),
                          layout.columns[c + 1].x);
            }
        }
}

TEST(ResultsPageLayout, UnselectedColumnsTakeNoRoomExceptForPoints) {
    OutputSelection selection = OutputSelection::NoItems();
    selection.add(29); // angle X
    selection.add(27); // angle X1, printed as "1X"
    const ResultsPageLayout angle =
        LayoutResultsPage(MeasureKind::Angle, selection, 8, 20, 700, 1000, TenPerCharacter, {});
    ASSERT_EQ(angle.columns.size(), 3u);
    EXPECT_EQ(angle.columns[1].heading, "1X");
    EXPECT_EQ(angle.columns[1].panelColumn, 4);
    EXPECT_EQ(angle.columns[1].x, 60);
    EXPECT_EQ(angle.columns[2].heading, "X");
    EXPECT_EQ(angle.columns[2].panelColumn, 6);
    EXPECT_EQ(angle.columns[2].x, 60 + 20 + 96);

    const ResultsPageLayout points = LayoutResultsPage(
        MeasureKind::Point, OutputSelection::NoItems(), 8, 20, 700, 1000, TenPerCharacter, {});
    ASSERT_EQ(points.columns.size(), 3u);
    EXPECT_EQ(points.columns[2].heading, "Y");

    const ResultsPageLayout rectangles = LayoutResultsPage(
        MeasureKind::Rectangle, OutputSelection(), 8, 20, 700, 1000, TenPerCharacter, {});
    EXPECT_EQ(rectangles.columns[5].heading, "CenterX");
    EXPECT_EQ(rectangles.columns[6].heading, "CenterY");
}

} // namespace
} // namespace halvera
