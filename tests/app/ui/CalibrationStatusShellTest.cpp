// The calibration in force in the main window: the status bar's own label
// follows every change of it, and a picture's own calibration is used and
// kept as a preset from the Setting menu, with the results following.
#include "ShellFixture.h"
#include "SyntheticImages.h"
#include "image/PngFile.h"
#include "measure/CalFile.h"
#include "measure/CalibrationPresets.h"
#include "measure/ui/DataPanel.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QAction>
#include <QLabel>
#include <QStatusTipEvent>
#include <QTableWidget>
#include <QTest>

namespace halvera::testing {
namespace {

constexpr CalibrationRecord kScannerCalibration{0, 20.0, 20.0, 100, 100}; // 0.2 um/px

class CalibrationStatusShellTest : public ShellTest {
protected:
    QString status() { return frame().calibrationStatus()->text(); }

    std::string writeCalibratedPng(const std::string& name, const CalibrationRecord& record) {
        const DibBlock picture = MakeRgb(64, 48, [](int x, int y) {
            return Bgr{uint8_t(x * 4), uint8_t(y * 5), 90};
        });
        const std::string path = tempPath(name);
        EXPECT_TRUE(CPngFile().Write(path, picture.dib(), record));
        return path;
    }

    // Measures a horizontal line of 50 image pixels with the line tool.
    void measureLine(CMavView& view) {
        ASSERT_TRUE(view.onCommand(kIdMeasureLine));
        const auto at = [&view](int x, int y) {
            return view.logicalToClient(view.imageToWindow(QPoint(x, y)));
        };
        QWidget* viewport = view.viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, at(10, 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(at(60, 20)),
                         viewport->mapToGlobal(QPointF(at(60, 20))), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at(60, 20));
    }

    QString listedLength() {
        const QTableWidgetItem* cell = frame().resultsPanel()->list()->item(0, 1);
        return cell ? cell->text() : QString();
    }

    // Chooses "Use the picture's calibration" in the Setting menu, brought up
    // to date as opening the menu does; false when it is greyed.
    bool useThePicturesCalibration() {
        QAction* item = frame().menuAction(kIdUseOwnCalibration);
        EXPECT_NE(item, nullptr);
        frame().router().refresh(item);
        if (!item->isEnabled())
            return false;
        item->trigger();
        // Menu commands are delivered queued.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        return true;
    }

    std::vector<CalibrationPreset> storedPresets() {
        const CalibrationPresets presets = CalibrationPresets::Load(app->settingsStore());
        return presets.list();
    }
};

TEST_F(CalibrationStatusShellTest, TheStatusBarShowsTheCalibrationInForceWhateverChangesIt) {
    EXPECT_EQ(status(), QStringLiteral(u"uncalibrated \u00B7 1 px"));
    RulerCalibration calibration(app->settings());
    calibration.SetRealSize(50.0, 50.0);
    EXPECT_EQ(status(), QStringLiteral("0.5000 um/px"));
    calibration.SetPresetName("stage");
    EXPECT_EQ(status(), QStringLiteral(u"stage \u00B7 0.5000 um/px"));

    // Messages and prompts have panes of their own.
    for (int pane = 0; pane < CMainFrame::kStatusPanes; ++pane)
        frame().setStatusPaneText(pane, QStringLiteral("a message"));
    QStatusTipEvent tip(QStringLiteral("Create a new image"));
    QCoreApplication::sendEvent(&frame(), &tip);
    EXPECT_EQ(status(), QStringLiteral(u"stage \u00B7 0.5000 um/px"));
}

TEST_F(CalibrationStatusShellTest, APicturesCalibrationIsUsedKeptAsAPresetAndTheResultsFollow) {
    CChildFrame* window =
        app->OpenDocumentFile(writeCalibratedPng("scanner.png", kScannerCalibration));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(frame().statusPane(0)->text(),
              QStringLiteral(u"The picture carries 0.2000 um/px, not the uncalibrated \u00B7 1 px "
                             u"in force (Setting, Use the picture's calibration)"));
    measureLine(window->view());
    EXPECT_EQ(listedLength(), QStringLiteral("50.000"));

    prompts.textAnswers = {std::string(" slide scanner ")};
    ASSERT_TRUE(useThePicturesCalibration());
    EXPECT_EQ(CalibrationInForce(RulerCalibration(app->settings())), kScannerCalibration);
    EXPECT_EQ(app->settings().RulerPreset, "slide scanner");
    EXPECT_EQ(status(), QStringLiteral(u"slide scanner \u00B7 0.2000 um/px"));
    EXPECT_EQ(listedLength(), QStringLiteral("10.000")) << "the results in the picture's unit";
    ASSERT_EQ(prompts.textRequests.size(), 1u);
    EXPECT_EQ(prompts.textRequests[0].title, "Use the picture's calibration");
    EXPECT_EQ(storedPresets(),
              (std::vector<CalibrationPreset>{{"slide scanner", kScannerCalibration}}));
    EXPECT_FALSE(useThePicturesCalibration()) << "greyed once it is the one in force";
}

TEST_F(CalibrationStatusShellTest, CancellingTheNameKeepsThePicturesCalibrationWithoutAPreset) {
    const CalibrationRecord camera{1, 0.5, 0.5, 1000, 1000}; // 0.0005 mm/px
    ASSERT_NE(app->OpenDocumentFile(writeCalibratedPng("camera.png", camera)), nullptr);
    ASSERT_TRUE(useThePicturesCalibration()); // no answer: Cancel
    EXPECT_EQ(prompts.textRequests.size(), 1u);
    EXPECT_EQ(CalibrationInForce(RulerCalibration(app->settings())), camera);
    EXPECT_EQ(app->settings().RulerPreset, "");
    EXPECT_EQ(status(), QStringLiteral("0.0005 mm/px"));
    EXPECT_TRUE(storedPresets().empty());
    EXPECT_TRUE(prompts.messages.empty());
}

} // namespace
} // namespace halvera::testing
