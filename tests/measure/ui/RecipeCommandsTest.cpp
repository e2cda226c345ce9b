// "Save as recipe" and "Run recipe" from the Measurement menu of a running
// program, on rendered plates of known geometry; the dialogs are worked
// through their widgets, the file questions answered by RecordingPrompts.
#include "ImageFileTestSupport.h"
#include "DialogDriving.h"
#include "RecipePlate.h"
#include "ShellFixture.h"
#include "image/BmpFile.h"
#include "measure/AcrossImagesTable.h"
#include "measure/InspectionCsv.h"
#include "measure/InspectionPictures.h"
#include "measure/RecipeFile.h"
#include "measure/RecipeRun.h"
#include "measure/ui/AcrossImagesPanel.h"
#include "measure/ui/DataPanel.h"
#include "platform/ui/PrinterSetup.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace halvera::testing {
namespace {

constexpr int kDiameter = 15;
constexpr const char* kBoreDiameter = "5 Diameter (bore)";

class RecipeCommandsTest : public ShellTest {
protected:
    std::string writePlate(const std::string& name, const PartFrame& pose) {
        const DibBlock picture =
            RenderPlate(kPlatePictureWidth, kPlatePictureHeight, pose, PlateLook());
        const std::string path = tempPath(name);
        EXPECT_TRUE(CBmpFile().Write(path, picture.dib()));
        return path;
    }
    CMavDoc& openPlate() {
        CChildFrame* window = app->OpenDocumentFile(writePlate("placed.bmp", kPlatePlaced));
        EXPECT_NE(window, nullptr);
        return window->view().document();
    }
    // Chooses the menu item; the menu delivers its command queued.
    void postCommand(int id) {
        QAction* action = frame().menuAction(id);
        ASSERT_NE(action, nullptr);
        action->trigger();
    }
    // Chooses the menu item and delivers the command, as the event loop
    // would right after the click.
    void command(int id) {
        postCommand(id);
        DeliverPostedCommands();
    }
    static void DeliverPostedCommands() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
    std::string writeRecipe() {
        const std::string path = tempPath("plate.recipe.json");
        EXPECT_TRUE(WriteRecipeFile(path, PlateRecipe()));
        return path;
    }
};

std::vector<std::string> TableRow(const QTableWidget& table, int row) {
    std::vector<std::string> cells;
    for (int column = 0; column < table.columnCount(); ++column)
        cells.push_back(table.item(row, column)->text().toStdString());
    return cells;
}

int FindRow(const QTableWidget& table, const std::string& item) {
    for (int row = 0; row < table.rowCount(); ++row)
        if (table.item(row, 0)->text().toStdString() == item)
            return row;
    return -1;
}

// Chooses the combo box's entries one by one with the Down key, as a user does.
void PressDown(QComboBox* combo, int times) {
    for (int i = 0; i < times; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

TEST_F(RecipeCommandsTest, SaveAsRecipeKeepsTheNamesDatumAndTolerancesChosen) {
    CMavDoc& doc = openPlate();
    doc.measureData() = MeasurePlate(doc.image(), kPlatePlaced);
    app->tolerance().entries[kDiameter] = {120.0, 0.1, -0.1};
    const std::string path = tempPath("saved.recipe.json");
    prompts.fileNames.push_back(path);

    // Posted before the dialog's driver, so the dialog is up when it runs.
    postCommand(kIdSaveAsRecipe);
    WithModalDialog([] { DeliverPostedCommands(); },
                    [](QDialog& dialog) {
                        auto* reference = Child<QComboBox>(dialog, "referenceEdge");
                        EXPECT_EQ(ComboTexts(reference),
                                  (std::vector<std::string>{"None", "2 edge-line", "3 edge-line"}));
                        PressDown(reference, 1);
                        auto* origin = Child<QComboBox>(dialog, "origin");
                        EXPECT_EQ(ComboTexts(origin),
                                  (std::vector<std::string>{"1 edge-point", "3 edge-line"}));
                        PressDown(origin, 1);
                        auto* names = Child<QTableWidget>(dialog, "itemNames");
                        names->setCurrentCell(kBoreItem, 1);
                        names->editItem(names->item(kBoreItem, 1));
                        auto* editor = names->findChild<QLineEdit*>();
                        ASSERT_NE(editor, nullptr);
                        TypeInto(editor, QStringLiteral("bore"));
                        QTest::keyClick(editor, Qt::Key_Return);
                        Press(dialog, QDialogButtonBox::Ok);
                    });

    const RecipeRead read = ReadRecipeFile(path);
    ASSERT_TRUE(read.recipe) << read.problem;
    const InspectionRecipe expected = PlateRecipe();
    EXPECT_EQ(read.recipe->items, expected.items);
    EXPECT_EQ(read.recipe->datum, expected.datum);
    ASSERT_EQ(read.recipe->tolerances.size(), 1u);
    EXPECT_EQ(read.recipe->tolerances[0], expected.tolerances[0]);
    EXPECT_EQ(read.recipe->output, app->outputSelection());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RecipeCommandsTest, RunOnTheActiveImageShowsItsItemsJudged) {
    CMavDoc& doc = openPlate();
    prompts.fileNames.push_back(writeRecipe());
    prompts.answers.push_back(MessageAnswer::Yes);
    command(kIdRunRecipe);

    EXPECT_EQ(doc.measureData().ItemCount(MeasureKind::Circle), 1);
    EXPECT_EQ(doc.measureData().ItemCount(MeasureKind::Line), 3);
    CDataPanel& results = *frame().resultsPanel();
    EXPECT_TRUE(results.errorDetection());
    EXPECT_EQ(app->tolerance().entries[kDiameter], (ToleranceEntry{120.0, 0.1, -0.1}));
    results.SelectTab(MeasureKind::Circle);
    const auto rows = results.rowTexts();
    ASSERT_EQ(rows.size(), 1u);
    bool judged = false;
    for (const std::string& cell : rows[0])
        judged = judged || cell.find("Pass") != std::string::npos;
    EXPECT_TRUE(judged);
}

TEST_F(RecipeCommandsTest, RunOnTwoPicturesListsRowsStatisticsAndCsv) {
    openPlate();
    const std::vector<std::string> images = {
        writePlate("first.bmp", MovePlate(kPlatePlaced, {12.0, -8.0}, 2.0)),
        writePlate("second.bmp", MovePlate(kPlatePlaced, {-10.0, 6.0}, -3.0))};
    prompts.fileNames.push_back(writeRecipe());
    prompts.answers.push_back(MessageAnswer::No);
    prompts.fileNameLists.push_back(images);
    command(kIdRunRecipe);

    auto* panel = frame().findChild<CAcrossImagesPanel*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!panel->running(), 120000);
    EXPECT_EQ(panel->progress()->value(), 2);

    // Each picture's rows are those of the recipe run on it, in input order.
    const InspectionRecipe recipe = PlateRecipe();
    std::vector<AcrossImagesRow> expected;
    for (const std::string& image : images) {
        const LoadedPicture picture = LoadInspectionPicture(image);
        const auto rows =
            AcrossImagesRows(std::filesystem::path(image).filename().string(), recipe,
                             InspectPicture(picture.picture, recipe, InspectionSettings{}));
        expected.insert(expected.end(), rows.begin(), rows.end());
    }
    const QTableWidget& rows = *panel->rowList();
    ASSERT_EQ(rows.rowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < rows.rowCount(); ++row) {
        const auto& cells = expected[static_cast<size_t>(row)];
        EXPECT_EQ(TableRow(rows, row), std::vector<std::string>(cells.begin(), cells.end()));
    }

    // The bore is 120 pixels across on both: n 2, the mean there, Cp and Cpk
    // against its two-limit tolerance; a value without tolerance has none.
    const QTableWidget& summary = *panel->summaryList();
    const int bore = FindRow(summary, kBoreDiameter);
    ASSERT_GE(bore, 0);
    const auto boreCells = TableRow(summary, bore);
    EXPECT_EQ(boreCells[1], "2");
    EXPECT_NEAR(std::stod(boreCells[2]), 120.0, 0.05);
    EXPECT_FALSE(boreCells[6].empty());
    EXPECT_FALSE(boreCells[7].empty());
    const int radius = FindRow(summary, "5 Radius (bore)");
    ASSERT_GE(radius, 0);
    const auto radiusCells = TableRow(summary, radius);
    EXPECT_EQ(radiusCells[1], "2");
    EXPECT_TRUE(radiusCells[6].empty() && radiusCells[7].empty());

    const std::string csv = tempPath("rows.csv");
    prompts.fileNames.push_back(csv);
    QTest::mouseClick(Child<QPushButton>(*panel, "exportCsv"), Qt::LeftButton);
    const std::string text = testing::ReadFileText(csv);
    EXPECT_EQ(text.rfind(InspectionCsvHeader(), 0), 0u);
    const size_t summaryStart = text.find("\nItem,Kind,Name,n,mean,sd,min,max,Cp,Cpk\n");
    ASSERT_NE(summaryStart, std::string::npos);
    const auto lines = [](std::string_view part) {
        return std::count(part.begin(), part.end(), '\n');
    };
    // Header and one line per row, the blank line, then header and one line per value.
    EXPECT_EQ(lines(std::string_view(text).substr(0, summaryStart)), rows.rowCount() + 1);
    EXPECT_EQ(lines(std::string_view(text).substr(summaryStart + 1)), summary.rowCount() + 1);
}

TEST_F(RecipeCommandsTest, CancelStopsARunBeforeEveryPictureIsDone) {
    openPlate();
    std::vector<std::string> images;
    for (int i = 0; i < 12; ++i)
        images.push_back(writePlate("plate" + std::to_string(i) + ".bmp",
                                    MovePlate(kPlatePlaced, {static_cast<double>(i), 0.0}, 0.0)));
    prompts.fileNames.push_back(writeRecipe());
    prompts.answers.push_back(MessageAnswer::No);
    prompts.fileNameLists.push_back(images);
    command(kIdRunRecipe);
    auto* panel = frame().findChild<CAcrossImagesPanel*>();
    ASSERT_NE(panel, nullptr);
    QTest::mouseClick(Child<QPushButton>(*panel, "cancel"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!panel->running(), 120000);
    EXPECT_LT(panel->progress()->value(), 12);
    EXPECT_EQ(Child<QLabel>(*panel, "status")->text(), QStringLiteral("Cancelled"));
}

TEST_F(RecipeCommandsTest, PrintsTheRunToAPdfFile) {
    openPlate();
    prompts.fileNames.push_back(writeRecipe());
    prompts.answers.push_back(MessageAnswer::No);
    prompts.fileNameLists.push_back({writePlate("one.bmp", kPlatePlaced)});
    command(kIdRunRecipe);
    auto* panel = frame().findChild<CAcrossImagesPanel*>();
    ASSERT_NE(panel, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!panel->running(), 120000);
    const std::string pdf = tempPath("across.pdf");
    ApplicationPrinter().setOutputFormat(QPrinter::PdfFormat);
    ApplicationPrinter().setOutputFileName(QString::fromStdString(pdf));
    QTest::mouseClick(Child<QPushButton>(*panel, "print"), Qt::LeftButton);
    EXPECT_EQ(prompts.printRequests, 1);
    EXPECT_EQ(testing::ReadFileText(pdf).rfind("%PDF", 0), 0u);
}

} // namespace
} // namespace halvera::testing
