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
#include "measure/MeasureLabels.h"
#include "measure/RecipeFile.h"
#include "measure/RecipeRun.h"
#include "measure/ui/AcrossImagesPanel.h"
#include "measure/ui/DataPanel.h"
#include "platform/ui/PrinterSetup.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QAction>
#include <QCheckBox>
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
    std::string writeRecipe(const InspectionRecipe& recipe = PlateRecipe()) {
        const std::string path = tempPath("plate.recipe.json");
        EXPECT_TRUE(WriteRecipeFile(path, recipe));
        return path;
    }
    // Runs the recipe on the opened plate and takes a measurement tool, under
    // which the items are drawn.
    CMavView& runOnPlate(const InspectionRecipe& recipe) {
        CChildFrame* window = app->OpenDocumentFile(writePlate("placed.bmp", kPlatePlaced));
        EXPECT_NE(window, nullptr);
        prompts.fileNames.push_back(writeRecipe(recipe));
        prompts.answers.push_back(MessageAnswer::Yes);
        command(kIdRunRecipe);
        command(kIdMeasureCircle);
        return window->view();
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
    prompts.answers.push_back(MessageAnswer::No); // picture files, not a folder
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
    prompts.answers.push_back(MessageAnswer::No); // picture files, not a folder
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
    prompts.answers.push_back(MessageAnswer::No); // picture files, not a folder
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

// The recipe run on every picture of a folder: the plates in the order of
// their names, whatever their ending's case; the folder's other files
// and its sub-folder are left alone.
TEST_F(RecipeCommandsTest, RunOnAFolderListsRowsForEachPictureInNameOrder) {
    openPlate();
    const std::filesystem::path folder = tempPath("batch");
    std::filesystem::create_directories(folder / "older");
    const auto render = [](SubPixelPoint shift, double turn) {
        return RenderPlate(kPlatePictureWidth, kPlatePictureHeight,
                           MovePlate(kPlatePlaced, shift, turn), PlateLook());
    };
    ASSERT_TRUE(CBmpFile().Write((folder / "part-c.bmp").string(), render({-6, 4}, 1.0).dib()));
    ASSERT_TRUE(CBmpFile().Write((folder / "part-a.Bmp").string(), render({9, -3}, -2.0).dib()));
    ASSERT_TRUE(CBmpFile().Write((folder / "part-b.BMP").string(), render({3, 7}, 0.5).dib()));
    ASSERT_TRUE(CBmpFile().Write((folder / "older/part-0.bmp").string(), render({}, 0).dib()));
    std::ofstream(folder / "notes.txt") << "batch 7";

    prompts.fileNames.push_back(writeRecipe());
    prompts.answers = {MessageAnswer::No, MessageAnswer::Yes};
    prompts.folderNames.push_back(folder.string());
    command(kIdRunRecipe);
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{
                  "Run the recipe on the active image?\nNo chooses picture files to run it on.",
                  "Run the recipe on every picture in a folder?\nNo chooses picture files."}));
    EXPECT_EQ(prompts.folderRequests, std::vector<std::string>{"Run recipe on a folder"});

    auto* panel = frame().findChild<CAcrossImagesPanel*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!panel->running(), 120000);
    EXPECT_EQ(panel->progress()->value(), 3);
    const InspectionRecipe recipe = PlateRecipe();
    std::vector<AcrossImagesRow> expected;
    for (const char* name : {"part-a.Bmp", "part-b.BMP", "part-c.bmp"}) {
        const LoadedPicture picture = LoadInspectionPicture((folder / name).string());
        ASSERT_EQ(picture.failure, "") << name;
        const auto rows = AcrossImagesRows(
            name, recipe, InspectPicture(picture.picture, recipe, InspectionSettings{}));
        expected.insert(expected.end(), rows.begin(), rows.end());
    }
    const QTableWidget& rows = *panel->rowList();
    ASSERT_EQ(rows.rowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < rows.rowCount(); ++row) {
        const auto& cells = expected[static_cast<size_t>(row)];
        EXPECT_EQ(TableRow(rows, row), std::vector<std::string>(cells.begin(), cells.end()));
    }
}

TEST_F(RecipeCommandsTest, AFolderWithoutPicturesIsSaidInsteadOfAnEmptyRun) {
    openPlate();
    const std::string folder = tempPath("empty");
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "/notes.txt") << "nothing yet";
    prompts.fileNames.push_back(writeRecipe());
    prompts.answers = {MessageAnswer::No, MessageAnswer::Yes};
    prompts.folderNames.push_back(folder);
    command(kIdRunRecipe);
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[2].text,
              "There are no pictures (.bmp, .jpg, .jpeg, .png, .tif or .tiff) in the folder " +
                  folder + ".");
    EXPECT_EQ(prompts.messages[2].icon, MessageIcon::Warning);
    auto* panel = frame().findChild<CAcrossImagesPanel*>();
    EXPECT_TRUE(panel == nullptr || (!panel->isVisible() && !panel->running()));

    // Cancel on the folder question runs nothing and says nothing.
    prompts.messages.clear();
    prompts.fileNames.push_back(writeRecipe());
    prompts.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    command(kIdRunRecipe);
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.folderRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests.size(), 2u) << "only the recipe files were asked for";
}

// How many pixels of the client rectangle `area` are near `colour`.
int PixelsNear(const QImage& shown, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) < 48 &&
                             std::abs(c.green() - colour.green()) < 48 &&
                             std::abs(c.blue() - colour.blue()) < 48
                         ? 1
                         : 0;
        }
    return count;
}

// Where the label of stored item `item` of `kind` is shown: the view is
// scrolled so that the label lies inside its window.
QRect ShownLabel(CMavView& view, LabelledKind kind, int item) {
    const ImageToWindowMap toWindow = [&view](PixelPoint p) {
        const QPoint w = view.imageToWindow(QPoint(p.x, p.y));
        return PixelPoint{w.x(), w.y()};
    };
    const MeasureLabel label =
        StoredItemLabel(view.document().measureData(), kind, item,
                        RulerCalibration::CurrentScale(view.document().settings()), toWindow);
    const QPoint logical(label.position.x, label.position.y);
    view.scrollTo(logical - QPoint(40, 40));
    view.viewport()->repaint();
    const QRect rect(view.logicalToClient(logical), QSize(60, 10));
    EXPECT_TRUE(view.viewport()->rect().contains(rect)) << "the label is in the window";
    return rect;
}

QImage Shown(CMavView& view) {
    view.viewport()->repaint();
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);

// The bore, 120 pixels across, judged against 110 +0.1/-0.1: its label
// turns red while "Error detect" is on; the lines, judged by no tolerance,
// keep the yellow labels.
TEST_F(RecipeCommandsTest, TheLabelOfAnItemJudgedAnErrorIsDrawnInTheErrorColour) {
    InspectionRecipe recipe = PlateRecipe();
    recipe.tolerances[0].entry = {110.0, 0.1, -0.1};
    CMavView& view = runOnPlate(recipe);
    ASSERT_TRUE(frame().resultsPanel()->errorDetection());

    const QRect bore = ShownLabel(view, LabelledKind::Circle, 0);
    QImage shown = Shown(view);
    EXPECT_GT(PixelsNear(shown, bore, kRed), 10);
    EXPECT_EQ(PixelsNear(shown, bore, kYellow), 0);
    const QRect edge = ShownLabel(view, LabelledKind::Line, 0);
    shown = Shown(view);
    EXPECT_GT(PixelsNear(shown, edge, kYellow), 10);
    EXPECT_EQ(PixelsNear(shown, edge, kRed), 0);

    // "Error detect" turned off: no verdicts, the bore's label yellow again.
    QTest::mouseClick(Child<QCheckBox>(*frame().resultsPanel(), "errorDetect"), Qt::LeftButton);
    ASSERT_FALSE(frame().resultsPanel()->errorDetection());
    const QRect plainBore = ShownLabel(view, LabelledKind::Circle, 0);
    shown = Shown(view);
    EXPECT_GT(PixelsNear(shown, plainBore, kYellow), 10);
    EXPECT_EQ(PixelsNear(shown, plainBore, kRed), 0);
}

// A run where every judged value passes draws the image exactly as it is
// drawn without verdicts.
TEST_F(RecipeCommandsTest, PassingItemsAreDrawnAsWithoutVerdicts) {
    CMavView& view = runOnPlate(PlateRecipe());
    const QRect bore = ShownLabel(view, LabelledKind::Circle, 0);
    const QImage judged = Shown(view);
    EXPECT_GT(PixelsNear(judged, bore, kYellow), 10);
    QTest::mouseClick(Child<QCheckBox>(*frame().resultsPanel(), "errorDetect"), Qt::LeftButton);
    ASSERT_FALSE(frame().resultsPanel()->errorDetection());
    EXPECT_EQ(Shown(view), judged);
}

} // namespace
} // namespace halvera::testing
