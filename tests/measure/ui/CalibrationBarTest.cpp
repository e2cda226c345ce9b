// Dimension calibration in the running program: the ruler on the view and
// the "Calibrate" panel, worked with real mouse events and typing.
#include "measure/ui/CalibrationBar.h"

#include "DialogDriving.h"
#include "ShellFixture.h"
#include "app/ui/ShellPrompts.h"
#include "measure/CalFile.h"
#include "measure/CalibrationPresets.h"
#include "measure/ui/CalibrationTool.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>

namespace halvera::testing {
namespace {

constexpr int kZoomIndex200 = 8;

class CalibrationTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        window = newImage(300, 200);
        ASSERT_NE(window, nullptr);
    }

    CMavView& view() { return window->view(); }
    CCalibrationBar& bar() { return *frame().calibrationControls(); }
    QString field(const char* name) { return Child<QLineEdit>(bar(), name)->text(); }
    QString scale(const char* name) { return Child<QLabel>(bar(), name)->text(); }
    void click(const char* button) {
        QTest::mouseClick(Child<QPushButton>(bar(), button), Qt::LeftButton);
    }

    CCalibrationTool* startCalibration() {
        EXPECT_TRUE(frame().router().dispatch(kIdDimensionCalibration));
        settle();
        return dynamic_cast<CCalibrationTool*>(view().tool());
    }

    void drag(QPoint from, QPoint to) {
        QWidget* viewport = view().viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), viewport->mapToGlobal(QPointF(to)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
    }

    QPoint client(PixelPoint logical) {
        return view().logicalToClient(QPoint(logical.x, logical.y));
    }

    CChildFrame* window = nullptr;
};

TEST_F(CalibrationTest, RulerAtZoomTwoIsTwiceTheCalibrationAndTheBarShowsImagePixels) {
    ASSERT_TRUE(view().zoomTo(kZoomIndex200, QPoint(0, 0)));
    CCalibrationTool* tool = startCalibration();
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(view().toolMode(), ToolMode::Calibration);
    EXPECT_TRUE(frame().calibrationBar()->isVisible());
    EXPECT_EQ(frame().calibrationBar()->windowTitle(), "Calibrate");

    const PixelPoint origin = tool->origin();
    EXPECT_EQ(tool->horizontalEnd().x - origin.x, 200);
    EXPECT_EQ(tool->verticalEnd().y - origin.y, 200);

    // The ruler inverts the pixels it covers and nothing past its end.
    const QImage ruled = view().viewport()->grab().toImage();
    const QPoint end = client(tool->horizontalEnd());
    EXPECT_TRUE(frame().router().dispatch(kIdZoomTool));
    settle();
    const QImage plain = view().viewport()->grab().toImage();
    for (const QPoint covered : {end - QPoint(1, 0), end - QPoint(150, 0), end + QPoint(0, 3)})
        EXPECT_EQ(ruled.pixel(covered) & 0xFFFFFF, ~plain.pixel(covered) & 0xFFFFFF);
    EXPECT_EQ(ruled.pixel(end + QPoint(1, 0)), plain.pixel(end + QPoint(1, 0)));
    EXPECT_FALSE(frame().calibrationBar()->isVisible()) << "another tool ends calibration";

    // A drag of the horizontal end 60 window pixels left shortens the leg to
    // 70 image pixels, which the bar shows.
    tool = startCalibration();
    const QPoint handle = client(tool->horizontalEnd());
    drag(handle, handle - QPoint(60, 0));
    EXPECT_EQ(tool->horizontalEnd().x - tool->origin().x, 140);
    EXPECT_EQ(field("width"), "70");
    EXPECT_EQ(field("height"), "100");
    EXPECT_EQ(scale("xRuler"), "1.428571");
}

TEST_F(CalibrationTest, LegsStayRightOfAndBelowTheOriginAndTheBodyMovesTheWhole) {
    CCalibrationTool* tool = startCalibration();
    ASSERT_NE(tool, nullptr);
    const PixelPoint origin = tool->origin();
    drag(client(tool->horizontalEnd()), client(origin) - QPoint(30, 0));
    EXPECT_EQ(tool->horizontalEnd().x - origin.x, 100) << "left of the origin: unchanged";
    drag(client(tool->horizontalEnd()), client(origin) + QPoint(1, 0));
    EXPECT_EQ(tool->horizontalEnd().x - origin.x, 1) << "one pixel is the shortest leg";
    drag(client(tool->verticalEnd()), client(origin) + QPoint(0, 5));
    EXPECT_EQ(tool->verticalEnd().y - origin.y, 5);
    EXPECT_EQ(field("width"), "1");
    EXPECT_EQ(field("height"), "5");

    drag(client(origin) + QPoint(-20, 30), client(origin) + QPoint(-10, 50));
    EXPECT_EQ(tool->origin(), (PixelPoint{origin.x + 10, origin.y + 20}));
    EXPECT_EQ(tool->verticalEnd().y - tool->origin().y, 5);
}

TEST_F(CalibrationTest, TypedSizesAreHeldToAPositiveNumberUpToOneBillion) {
    startCalibration();
    QLineEdit* xSize = Child<QLineEdit>(bar(), "xSize");
    EXPECT_EQ(xSize->text(), "100.000000");
    EXPECT_EQ(scale("xRuler"), "1.000000");
    EXPECT_EQ(scale("yRuler"), "1.000000");
    const std::pair<QString, double> typed[] = {{"0", 1.0},     {"-5", 1.0},    {"5e9", 1e9},
                                                {"1e400", 1e9}, {"10,5", 10.5}, {"250", 250.0}};
    for (const auto& [text, held] : typed) {
        TypeInto(xSize, text);
        EXPECT_EQ(bar().working().realX, held) << text.toStdString();
        EXPECT_EQ(xSize->text(), text) << "the edit keeps what was typed";
        EXPECT_TRUE(xSize->hasAcceptableInput()) << text.toStdString();
    }
    EXPECT_EQ(scale("xRuler"), "2.500000");
}

TEST_F(CalibrationTest, ASizeThatIsNotANumberShowsAndOkRefusesIt) {
    AppSettings& settings = app->settings();
    startCalibration();
    QLineEdit* ySize = Child<QLineEdit>(bar(), "ySize");
    const QColor normalBase = ySize->palette().color(QPalette::Base);
    TypeInto(ySize, "250");
    TypeInto(ySize, "abc");
    EXPECT_FALSE(ySize->hasAcceptableInput());
    EXPECT_NE(ySize->palette().color(QPalette::Base), normalBase) << "the field shows it";
    EXPECT_FALSE(ySize->toolTip().isEmpty());
    EXPECT_EQ(bar().working().realY, 250.0) << "the last number stays";

    click("OK");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(settings.yRealRulerData, 100.0) << "nothing stored";
    EXPECT_NE(dynamic_cast<CCalibrationTool*>(view().tool()), nullptr) << "still calibrating";

    TypeInto(ySize, "12,5");
    EXPECT_TRUE(ySize->hasAcceptableInput());
    EXPECT_EQ(ySize->palette().color(QPalette::Base), normalBase);
    click("OK");
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(settings.yRealRulerData, 12.5);
    EXPECT_EQ(view().tool(), nullptr);
}

TEST_F(CalibrationTest, OkStoresIntoTheSettingsAndCancelDoesNot) {
    AppSettings& settings = app->settings();
    startCalibration();
    TypeInto(Child<QLineEdit>(bar(), "ySize"), "50");
    click("Cancel");
    EXPECT_EQ(settings.yRealRulerData, 100.0);
    EXPECT_EQ(bar().working().realY, 100.0) << "back to the saved copy";
    EXPECT_EQ(view().tool(), nullptr);
    EXPECT_FALSE(frame().calibrationBar()->isVisible());

    startCalibration();
    TypeInto(Child<QLineEdit>(bar(), "xSize"), "3000");
    Child<QComboBox>(bar(), "unitList")->setCurrentIndex(1);
    click("OK");
    EXPECT_EQ(settings.xRealRulerData, 2000.0);
    EXPECT_EQ(settings.RulerUnit, 1);
    EXPECT_EQ(settings.xPixelRulerData, 100);
    EXPECT_EQ(bar().saved().realX, 3000.0) << "the bar keeps what it showed";
    EXPECT_EQ(view().tool(), nullptr);
    EXPECT_TRUE(view().outlineTimerOn());
}

TEST_F(CalibrationTest, SaveWritesTheWorkingCopyAndLoadStoresButKeepsTheSavedCopy) {
    startCalibration();
    TypeInto(Child<QLineEdit>(bar(), "xSize"), "12.5");
    const std::string path = tempPath("ruler.Cal");
    prompts.fileNames.push_back(path);
    click("Save");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].filter, "HLV file(*.Cal)|*.Cal||");
    EXPECT_EQ(prompts.fileRequests[0].proposedName, "Calibrate");
    EXPECT_EQ(prompts.fileRequests[0].defaultExtension, "Cal");
    CalibrationRecord record;
    ASSERT_EQ(ReadCalFile(path, record), CalFileRead::Read);
    EXPECT_EQ(record, (CalibrationRecord{0, 12.5, 100.0, 100, 100}));
    EXPECT_EQ(app->settings().xRealRulerData, 100.0) << "saving stores nothing";

    ASSERT_TRUE(WriteCalFile(path, {7, 1.0 / 3.0, 40.0, 0, 25}));
    prompts.fileNames.push_back(path);
    click("Load");
    EXPECT_EQ(app->settings().RulerUnit, 0);
    EXPECT_EQ(app->settings().xRealRulerData, 1.0 / 3.0) << "exact, not through text";
    EXPECT_EQ(app->settings().xPixelRulerData, 100);
    EXPECT_EQ(app->settings().yPixelRulerData, 25);
    EXPECT_EQ(field("height"), "25");
    EXPECT_NE(dynamic_cast<CCalibrationTool*>(view().tool()), nullptr) << "a fresh ruler";

    click("Reset");
    EXPECT_EQ(bar().working().realX, 100.0);
    EXPECT_EQ(app->settings().xRealRulerData, 1.0 / 3.0);
}

// The program's own save dialog: a name typed without an extension is saved
// under the extension the Load dialog lists.
TEST_F(CalibrationTest, ANameTypedWithoutExtensionIsSavedAsACalFile) {
    startCalibration();
    ShellPrompts dialogs;
    const ScopedPrompts real(dialogs);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    bool asked = false;
    WithModalDialog([&] { click("Save"); },
                    [&](QDialog& dialog) {
                        asked = qobject_cast<QFileDialog*>(&dialog) != nullptr;
                        auto* name = Child<QLineEdit>(dialog, "fileNameEdit");
                        TypeInto(name, QStringLiteral("slide"));
                        QTest::keyClick(name, Qt::Key_Return);
                    });
    QDir::setCurrent(previous);
    EXPECT_TRUE(asked);
    CalibrationRecord record;
    EXPECT_EQ(ReadCalFile(tempPath("slide.Cal"), record), CalFileRead::Read);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"slide.Cal"});
}

TEST_F(CalibrationTest, LoadingAFileOfAnotherKindSaysSoAndChangesNothing) {
    startCalibration();
    const std::string path = tempPath("other.Cal");
    CalFileBytes bytes = EncodeCalibration({1, 5.0, 5.0, 5, 5});
    bytes[5] = '!';
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    file.close();
    prompts.fileNames.push_back(path);
    click("Load");
    ASSERT_EQ(prompts.texts(), std::vector<std::string>{"Can not read the file!"});
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(app->settings().RulerUnit, 0);
    EXPECT_EQ(bar().working().realX, 100.0);
}

// The preset list of the "Calibrate" panel, against the presets kept in the
// application's settings store.
class CalibrationPresetTest : public CalibrationTest {
protected:
    void SetUp() override {
        CalibrationTest::SetUp();
        CalibrationPresets presets;
        presets.put("10x objective", {0, 20.0, 20.0, 100, 100});
        presets.put("40x objective", {1, 5.0, 2.5, 100, 50});
        presets.Save(app->settingsStore());
    }

    QComboBox* presetList() { return Child<QComboBox>(bar(), "presetList"); }
    // Chooses the next entry of the list with the Down key, as a user does.
    void chooseNextPreset() {
        presetList()->setFocus();
        QTest::keyClick(presetList(), Qt::Key_Down);
    }
    std::vector<CalibrationPreset> storedPresets() {
        const CalibrationPresets presets = CalibrationPresets::Load(app->settingsStore());
        return presets.list();
    }
    QString status() { return frame().calibrationStatus()->text(); }
};

TEST_F(CalibrationPresetTest, ChoosingAPresetPutsItInForceAndTheStatusBarShowsIt) {
    AppSettings& settings = app->settings();
    EXPECT_EQ(status(), QStringLiteral(u"uncalibrated \u00B7 1 px"));
    startCalibration();
    EXPECT_EQ(ComboTexts(presetList()),
              (std::vector<std::string>{"10x objective", "40x objective"}))
        << "presets saved after the panel was made are listed when it shows";
    EXPECT_EQ(presetList()->currentIndex(), -1);
    EXPECT_FALSE(Child<QPushButton>(bar(), "DeletePreset")->isEnabled());

    chooseNextPreset();
    EXPECT_EQ(presetList()->currentText(), "10x objective");
    EXPECT_EQ(settings.xRealRulerData, 20.0);
    EXPECT_EQ(settings.RulerPreset, "10x objective");
    EXPECT_EQ(status(), QStringLiteral(u"10x objective \u00B7 0.2000 um/px"));
    EXPECT_EQ(field("xSize"), "20.000000");
    EXPECT_EQ(scale("xRuler"), "0.200000");
    EXPECT_TRUE(Child<QPushButton>(bar(), "DeletePreset")->isEnabled());
    EXPECT_NE(dynamic_cast<CCalibrationTool*>(view().tool()), nullptr) << "still calibrating";

    chooseNextPreset();
    EXPECT_EQ(settings.RulerUnit, 1);
    EXPECT_EQ(settings.yPixelRulerData, 50);
    EXPECT_EQ(status(), QStringLiteral(u"40x objective \u00B7 0.0500 mm/px"));
    EXPECT_EQ(field("height"), "50");
    EXPECT_EQ(Child<QComboBox>(bar(), "unitList")->currentText(), "mm");
    EXPECT_EQ(bar().saved().realX, 5.0) << "Cancel and Reset come back to the preset";
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(CalibrationPresetTest, EditingShowsTheNameModifiedAndApplyingEditsForgetsIt) {
    AppSettings& settings = app->settings();
    startCalibration();
    chooseNextPreset();
    QLineEdit* xSize = Child<QLineEdit>(bar(), "xSize");
    TypeInto(xSize, "25");
    EXPECT_EQ(presetList()->currentText(), "10x objective (modified)");
    EXPECT_EQ(status(), QStringLiteral(u"10x objective \u00B7 0.2000 um/px"))
        << "nothing is in force before OK";
    TypeInto(xSize, "20");
    EXPECT_EQ(presetList()->currentText(), "10x objective") << "the preset's values again";
    Child<QComboBox>(bar(), "unitList")->setCurrentIndex(2);
    EXPECT_EQ(presetList()->currentText(), "10x objective (modified)");
    click("Reset");
    EXPECT_EQ(presetList()->currentText(), "10x objective");

    // OK on the preset's own values keeps its name in force.
    click("OK");
    EXPECT_EQ(settings.RulerPreset, "10x objective");

    startCalibration();
    TypeInto(Child<QLineEdit>(bar(), "xSize"), "25");
    click("OK");
    EXPECT_EQ(settings.xRealRulerData, 25.0);
    EXPECT_EQ(settings.RulerPreset, "");
    EXPECT_EQ(status(), QStringLiteral("0.2500 x 0.2000 um/px"));
    startCalibration();
    EXPECT_EQ(presetList()->currentIndex(), -1);
    EXPECT_EQ(storedPresets()[0].record, (CalibrationRecord{0, 20.0, 20.0, 100, 100}))
        << "the preset keeps its values";
}

TEST_F(CalibrationPresetTest, SaveAsPresetKeepsThePanelsValuesAndReplacesOnlyAfterAQuestion) {
    AppSettings& settings = app->settings();
    startCalibration();
    TypeInto(Child<QLineEdit>(bar(), "xSize"), "30");
    TypeInto(Child<QLineEdit>(bar(), "ySize"), "3000");
    prompts.textAnswers = {std::string("  20x objective ")};
    click("SaveAsPreset");
    ASSERT_EQ(prompts.textRequests.size(), 1u);
    EXPECT_EQ(prompts.textRequests[0].title, "Save as preset");
    EXPECT_EQ(prompts.textRequests[0].proposed, "");
    ASSERT_EQ(storedPresets().size(), 3u);
    EXPECT_EQ(storedPresets()[2], (CalibrationPreset{"20x objective", {0, 30.0, 2000.0, 100, 100}}))
        << "within the calibration's limits, as OK stores";
    EXPECT_EQ(presetList()->currentText(), "20x objective");
    EXPECT_EQ(settings.xRealRulerData, 100.0) << "saving puts nothing in force";
    EXPECT_EQ(settings.RulerPreset, "");

    click("OK");
    EXPECT_EQ(settings.RulerPreset, "20x objective");
    EXPECT_EQ(status(), QStringLiteral(u"20x objective \u00B7 0.3000 x 20.0000 um/px"));

    // The name of a listed preset is asked about; No keeps the old values.
    startCalibration();
    TypeInto(Child<QLineEdit>(bar(), "xSize"), "40");
    prompts.textAnswers = {std::string("10x objective"), std::string("10x objective")};
    prompts.answers = {MessageAnswer::No, MessageAnswer::Yes};
    click("SaveAsPreset");
    EXPECT_EQ(storedPresets()[0].record.realX, 20.0);
    EXPECT_EQ(presetList()->currentText(), "20x objective (modified)");
    click("SaveAsPreset");
    EXPECT_EQ(storedPresets()[0],
              (CalibrationPreset{"10x objective", {0, 40.0, 2000.0, 100, 100}}));
    EXPECT_EQ(presetList()->currentText(), "10x objective");
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Replace the preset \"10x objective\"?",
                                                         "Replace the preset \"10x objective\"?"}));
}

TEST_F(CalibrationPresetTest, DeleteRemovesTheChosenPresetAfterAQuestion) {
    AppSettings& settings = app->settings();
    startCalibration();
    chooseNextPreset();
    prompts.answers = {MessageAnswer::No, MessageAnswer::Yes};
    click("DeletePreset");
    EXPECT_EQ(storedPresets().size(), 2u);
    EXPECT_EQ(settings.RulerPreset, "10x objective");

    click("DeletePreset");
    ASSERT_EQ(storedPresets().size(), 1u);
    EXPECT_EQ(storedPresets()[0].name, "40x objective");
    EXPECT_EQ(ComboTexts(presetList()), std::vector<std::string>{"40x objective"});
    EXPECT_EQ(presetList()->currentIndex(), -1);
    EXPECT_EQ(settings.xRealRulerData, 20.0) << "the values stay in force";
    EXPECT_EQ(settings.RulerPreset, "");
    EXPECT_EQ(status(), QStringLiteral("0.2000 um/px"));
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Delete the preset \"10x objective\"?",
                                                         "Delete the preset \"10x objective\"?"}));
}

TEST_F(CalibrationPresetTest, TheStatusBarFollowsOkAndLoadAndNoMessageTakesItsPlace) {
    startCalibration();
    TypeInto(Child<QLineEdit>(bar(), "xSize"), "50");
    click("OK");
    EXPECT_EQ(status(), QStringLiteral("0.5000 x 1.0000 um/px"));

    const std::string path = tempPath("ruler.Cal");
    ASSERT_TRUE(WriteCalFile(path, {2, 1.0, 1.0, 400, 400}));
    startCalibration();
    chooseNextPreset();
    prompts.fileNames.push_back(path);
    click("Load");
    EXPECT_EQ(status(), QStringLiteral("0.0025 cm/px"));
    EXPECT_EQ(presetList()->currentIndex(), -1) << "a loaded calibration is no preset";

    for (int pane = 0; pane < CMainFrame::kStatusPanes; ++pane)
        frame().setStatusPaneText(pane, QStringLiteral("a message"));
    QStatusTipEvent tip(QStringLiteral("Create a new image"));
    QCoreApplication::sendEvent(&frame(), &tip);
    EXPECT_EQ(status(), QStringLiteral("0.0025 cm/px"));
    EXPECT_TRUE(frame().calibrationStatus()->isVisible());
}

} // namespace
} // namespace halvera::testing
