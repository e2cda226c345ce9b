#include "DialogDriving.h"
#include "ImageFileTestSupport.h"
#include "RecordingPrompts.h"
#include "measure/OutputItemsFile.h"
#include "measure/ToleranceFile.h"
#include "measure/ui/OutputDataDialog.h"
#include "measure/ui/ToleranceDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

void Click(QWidget& dialog, const char* button) {
    QTest::mouseClick(Child<QPushButton>(dialog, button), Qt::LeftButton);
}

void ClickTab(QTabBar* tabs, int index) {
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

QString Text(QWidget& dialog, const char* edit) {
    return Child<QLineEdit>(dialog, edit)->text();
}

std::vector<std::string> Rows(const QListWidget* list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list->count(); ++i)
        rows.push_back(list->item(i)->text().toStdString());
    return rows;
}

void ClickRow(QListWidget* list, int row, bool twice = false) {
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    // A double click arrives as a click followed by the double-click press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

ToleranceTable TableWith(int k, ToleranceEntry entry) {
    ToleranceTable table;
    table.entries[static_cast<size_t>(k)] = entry;
    return table;
}

class ToleranceDialogTest : public ::testing::Test {
protected:
    ScopedRecordingPrompts prompts;
    TemporaryFolder folder;
};

TEST_F(ToleranceDialogTest, OpensOnTheFirstItemOfThePointTab) {
    CToleranceDialog dialog(TableWith(0, {1.25, 0.1, -0.0004}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Measure data set"));
    auto* tabs = Child<QTabBar>(dialog, "tabs");
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("Rectangle"));
    EXPECT_EQ(ComboTexts(Child<QComboBox>(dialog, "data")), (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(Text(dialog, "standard"), QStringLiteral("1.250"));
    EXPECT_EQ(Text(dialog, "upper"), QStringLiteral("0.100"));
    EXPECT_EQ(Text(dialog, "lower"), QStringLiteral("-0.000"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "lower")->maxLength(), 80);
}

TEST_F(ToleranceDialogTest, TabsAndDataListPickTheEntryShown) {
    CToleranceDialog dialog(TableWith(21, {7.0, 0.5, -0.5}));
    dialog.show();
    auto* tabs = Child<QTabBar>(dialog, "tabs");
    ClickTab(tabs, 3);
    auto* data = Child<QComboBox>(dialog, "data");
    EXPECT_EQ(ComboTexts(data),
              (std::vector<std::string>{"Width", "Height", "Area", "Perimeter", "X", "Y"}));
    EXPECT_EQ(dialog.shownEntry(), 18);
    data->setCurrentIndex(3);
    EXPECT_EQ(dialog.shownEntry(), 21);
    EXPECT_EQ(Text(dialog, "standard"), QStringLiteral("7.000"));
    ClickTab(tabs, 4);
    EXPECT_EQ(data->count(), 9);
    EXPECT_EQ(dialog.shownEntry(), 24);
    EXPECT_EQ(Text(dialog, "upper"), QStringLiteral("0.000"));
}

TEST_F(ToleranceDialogTest, TypingStoresIntoTheShownEntryOfTheCopy) {
    const ToleranceTable application;
    CToleranceDialog dialog(application);
    dialog.show();
    ClickTab(Child<QTabBar>(dialog, "tabs"), 1);
    Child<QComboBox>(dialog, "data")->setCurrentIndex(1); // Angle, entry 3
    TypeInto(Child<QLineEdit>(dialog, "standard"), QStringLiteral("12.5"));
    TypeInto(Child<QLineEdit>(dialog, "upper"), QStringLiteral("0.25abc"));
    TypeInto(Child<QLineEdit>(dialog, "lower"), QStringLiteral("none"));
    EXPECT_EQ(dialog.table().entries[3], (ToleranceEntry{12.5, 0.25, 0.0}));
    EXPECT_EQ(application, ToleranceTable());
    // Coming back shows what was typed, in the dialog's format.
    ClickTab(Child<QTabBar>(dialog, "tabs"), 0);
    ClickTab(Child<QTabBar>(dialog, "tabs"), 1);
    Child<QComboBox>(dialog, "data")->setCurrentIndex(1);
    EXPECT_EQ(Text(dialog, "standard"), QStringLiteral("12.500"));
}

TEST_F(ToleranceDialogTest, SaveWritesTheCopyAndLoadReplacesIt) {
    CToleranceDialog dialog(TableWith(30, {0.1, 0.2, -0.3}));
    dialog.show();
    TypeInto(Child<QLineEdit>(dialog, "upper"), QStringLiteral("0.05"));
    const std::string path = folder.file("Tolerance.Tol");
    prompts.fileNames.push_back(path);
    Click(dialog, "save");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_TRUE(prompts.fileRequests[0].save);
    EXPECT_TRUE(prompts.fileRequests[0].promptOverwrite);
    EXPECT_EQ(prompts.fileRequests[0].filter, "HLV File(*.Tol)|*.Tol||..");
    EXPECT_EQ(prompts.fileRequests[0].proposedName, "Tolerance");
    EXPECT_EQ(prompts.fileRequests[0].defaultExtension, "Tol");
    ToleranceTable saved;
    ASSERT_EQ(ReadToleranceFile(path, saved), RecordRead::Done);
    EXPECT_EQ(saved, dialog.table());
    EXPECT_EQ(saved.entries[0].upper, 0.05);

    CToleranceDialog other(ToleranceTable{});
    other.show();
    ClickTab(Child<QTabBar>(other, "tabs"), 2);
    prompts.fileNames.push_back(path);
    Click(other, "load");
    EXPECT_EQ(other.table(), saved);
    EXPECT_EQ(Child<QTabBar>(other, "tabs")->currentIndex(), 0);
    EXPECT_EQ(other.shownEntry(), 0);
    EXPECT_EQ(Text(other, "upper"), QStringLiteral("0.050"));
}

TEST_F(ToleranceDialogTest, LoadingAnotherFileShowsTheMessageAndKeepsTheCopy) {
    const std::string path = folder.file("bad.Tol");
    WriteFileBytes(path, Bytes(2410, 'T'));
    const ToleranceTable start = TableWith(5, {1, 2, 3});
    CToleranceDialog dialog(start);
    prompts.fileNames.push_back(path);
    Click(dialog, "load");
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Can not read the file!"}));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(dialog.table(), start);

    prompts.fileNames.push_back(folder.file("absent.Tol"));
    Click(dialog, "load");
    EXPECT_EQ(prompts.messages.size(), 1u);
}

class OutputDataDialogTest : public ::testing::Test {
protected:
    ScopedRecordingPrompts prompts;
    TemporaryFolder folder;
};

TEST_F(OutputDataDialogTest, ListsTheSelectionAndEveryItem) {
    OutputSelection selection = OutputSelection::NoItems();
    selection.add(23);
    selection.add(2);
    COutputDataDialog dialog(selection);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Output Data"));
    auto* items = Child<QListWidget>(dialog, "items");
    ASSERT_EQ(items->count(), 33);
    EXPECT_EQ(items->item(0)->text(), QStringLiteral("X(Point)"));
    EXPECT_EQ(items->item(22)->text(), QStringLiteral("X(Rectangle)"));
    EXPECT_EQ(items->item(23)->text(), QStringLiteral("Y(Rectangle)"));
    EXPECT_EQ(items->item(32)->text(), QStringLiteral("Y2(Angle)"));
    EXPECT_EQ(Rows(Child<QListWidget>(dialog, "selectedItems")),
              (std::vector<std::string>{"Y(Rectangle)", "Length(Line)"}));
}

TEST_F(OutputDataDialogTest, AddingTwiceListsOnceAndDoubleClicksMoveItems) {
    COutputDataDialog dialog{OutputSelection()};
    dialog.show();
    auto* items = Child<QListWidget>(dialog, "items");
    auto* selected = Child<QListWidget>(dialog, "selectedItems");
    Click(dialog, "clear");
    EXPECT_EQ(selected->count(), 0);
    ClickRow(items, 14);
    Click(dialog, "add");
    Click(dialog, "add");
    EXPECT_EQ(Rows(selected), (std::vector<std::string>{"Radius(Circle)"}));
    ClickRow(items, 0, true);
    ClickRow(items, 14, true);
    EXPECT_EQ(Rows(selected), (std::vector<std::string>{"Radius(Circle)", "X(Point)"}));
    EXPECT_EQ(dialog.selection().items(), (std::vector<int>{14, 0}));

    ClickRow(selected, 0, true);
    EXPECT_EQ(Rows(selected), (std::vector<std::string>{"X(Point)"}));
    ClickRow(items, 5);
    Click(dialog, "add");
    ClickRow(selected, 0);
    Click(dialog, "delete");
    EXPECT_EQ(dialog.selection().items(), (std::vector<int>{5}));
}

TEST_F(OutputDataDialogTest, AllAndResetRelist) {
    OutputSelection start = OutputSelection::NoItems();
    start.add(9);
    COutputDataDialog dialog(start);
    dialog.show();
    Click(dialog, "all");
    EXPECT_EQ(Child<QListWidget>(dialog, "selectedItems")->count(), 33);
    EXPECT_EQ(dialog.selection(), OutputSelection());
    Click(dialog, "reset");
    EXPECT_EQ(Rows(Child<QListWidget>(dialog, "selectedItems")),
              (std::vector<std::string>{"Ye(Line)"}));
    EXPECT_EQ(dialog.selection(), start);
}

TEST_F(OutputDataDialogTest, SaveAndLoadGoThroughTheItemsFile) {
    OutputSelection start = OutputSelection::NoItems();
    for (int k : {31, 4, 18})
        start.add(k);
    COutputDataDialog dialog(start);
    const std::string path = folder.file("Items.Itm");
    prompts.fileNames.push_back(path);
    Click(dialog, "save");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].filter, "HLV file(*.Itm)|*.Itm||");
    EXPECT_EQ(prompts.fileRequests[0].proposedName, "Items");
    EXPECT_EQ(prompts.fileRequests[0].defaultExtension, "Itm");
    EXPECT_EQ(ReadFileBytes(path).size(), 142u);

    COutputDataDialog other{OutputSelection()};
    prompts.fileNames.push_back(path);
    Click(other, "load");
    EXPECT_EQ(other.selection(), start);
    EXPECT_EQ(Rows(Child<QListWidget>(other, "selectedItems")),
              (std::vector<std::string>{"X2(Angle)", "Xs(Line)", "Width(Rectangle)"}));

    WriteFileBytes(path, Bytes(142, 0));
    prompts.fileNames.push_back(path);
    Click(other, "load");
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Cannot read the file!"}));
    EXPECT_EQ(other.selection(), start);
}

} // namespace
} // namespace halvera::testing
