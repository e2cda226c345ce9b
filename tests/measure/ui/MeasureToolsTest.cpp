// The measurement tools on a real view, driven by real mouse events, and what
// they draw and tell the results panel.
#include "DialogDriving.h"
#include "RecordingPrompts.h"
#include "ShellFixture.h"
#include "ViewHarness.h"
#include "measure/MeasureResultsPanel.h"
#include "measure/ui/AngleTools.h"
#include "measure/ui/LineTools.h"
#include "measure/ui/MeasureTool.h"
#include "view/CommandIds.h"

#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QTest>
#include <cstdlib>

namespace halvera::testing {
namespace {

QPoint At(CMavView& view, int x, int y) {
    return ClientPointOf(view, x, y);
}

void Press(ViewHarness& harness, QPoint at) {
    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void Release(ViewHarness& harness, QPoint at) {
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void Click(ViewHarness& harness, QPoint at) {
    Press(harness, at);
    Release(harness, at);
}

void Drag(ViewHarness& harness, QPoint from, QPoint to) {
    Press(harness, from);
    harness.moveMouse((from + to) / 2, Qt::LeftButton);
    harness.moveMouse(to, Qt::LeftButton);
    Release(harness, to);
}

QRgb Shown(ViewHarness& harness, QPoint client) {
    return harness.grab().pixel(client) & 0xFFFFFF;
}

QRgb ImageColour(int x, int y) {
    const Bgr c = CoordinateColour(x, y);
    return qRgb(c.red, c.green, c.blue) & 0xFFFFFF;
}

class MeasureTools : public ::testing::Test {
protected:
    MeasureTools() : harness(120, 90, QSize(320, 240)) {}

    CMavView& view() { return harness.view(); }
    MeasureData& data() { return harness.doc().measureData(); }
    QPoint at(int x, int y) { return At(view(), x, y); }
    void run(int command) { ASSERT_TRUE(view().onCommand(command)); }

    ViewHarness harness;
};

TEST_F(MeasureTools, PointToolStoresARepeatedPressOnceAndDragsTheLastPoint) {
    run(kIdMeasurePoint);
    EXPECT_FALSE(view().outlineTimerOn());
    Click(harness, at(10, 20));
    Click(harness, at(10, 20));
    ASSERT_EQ(data().ItemCount(MeasureKind::Point), 1);
    Click(harness, at(30, 40));
    Drag(harness, at(50, 50), at(55, 60));
    ASSERT_EQ(data().ItemCount(MeasureKind::Point), 3);
    EXPECT_EQ(data().points()[2], (PixelPoint{55, 60}));
    EXPECT_EQ(data().points()[1], (PixelPoint{30, 40}));
}

TEST_F(MeasureTools, LineToolStoresADragAndIgnoresAClick) {
    run(kIdMeasureLine);
    Drag(harness, at(60, 30), at(10, 30));
    Click(harness, at(70, 70));
    ASSERT_EQ(data().ItemCount(MeasureKind::Line), 1);
    EXPECT_EQ(data().lines()[0], (PixelPoint{60, 30}));
    EXPECT_EQ(data().lines()[1], (PixelPoint{10, 30}));

    auto* tool = dynamic_cast<CLineMeasureTool*>(view().tool());
    ASSERT_NE(tool, nullptr);
    QTest::keyClick(harness.viewport(), Qt::Key_Up);
    EXPECT_EQ(tool->guideLength(), 110);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(harness.viewport(), Qt::Key_Down);
    EXPECT_EQ(tool->guideLength(), 30);
}

TEST_F(MeasureTools, CircleRectangleAndAngleToolsStoreWhatWasDrawn) {
    run(kIdMeasureCircle);
    Drag(harness, at(40, 40), at(40, 50));
    run(kIdMeasureRectangle);
    Drag(harness, at(30, 60), at(20, 20));
    run(kIdMeasureAngle);
    auto* angle = dynamic_cast<CAngleTool*>(view().tool());
    ASSERT_NE(angle, nullptr);
    Click(harness, at(50, 10));
    harness.moveMouse(at(40, 20));
    Click(harness, at(40, 10));
    EXPECT_EQ(angle->clicks(), 1);
    Click(harness, at(40, 0));
    EXPECT_EQ(angle->clicks(), -1);

    ASSERT_EQ(data().ItemCount(MeasureKind::Circle), 1);
    EXPECT_EQ(data().circles()[1], (PixelPoint{40, 50}));
    ASSERT_EQ(data().ItemCount(MeasureKind::Rectangle), 1);
    EXPECT_EQ(data().rectangles()[0], (PixelRect{20, 20, 30, 60}));
    ASSERT_EQ(data().ItemCount(MeasureKind::Angle), 1);
    EXPECT_EQ(data().angles()[1], (PixelPoint{40, 10}));
}

TEST_F(MeasureTools, ThreePointCircleFitsThreeClicksAndDropsCollinearOnes) {
    run(kIdMeasureThreePointCircle);
    Click(harness, at(10, 10));
    Click(harness, at(20, 10));
    Click(harness, at(10, 20));
    Click(harness, at(5, 5));
    Click(harness, at(6, 6));
    Click(harness, at(7, 7));
    ASSERT_EQ(data().ItemCount(MeasureKind::Circle), 1);
    EXPECT_EQ(data().circles()[0], (PixelPoint{15, 15}));
    EXPECT_EQ(data().circles()[1], (PixelPoint{10, 10}));
}

TEST_F(MeasureTools, PointToPointJoinsTwoDifferentStoredPoints) {
    data().AppendPoint({10, 10});
    data().AppendPoint({50, 40});
    run(kIdMeasurePointToPoint);
    Click(harness, at(11, 9));
    Click(harness, at(12, 12)); // the same point again: still waiting for a second
    Click(harness, at(80, 80)); // no point there
    Click(harness, at(48, 43));
    Click(harness, at(49, 41));
    Click(harness, at(9, 9));
    EXPECT_EQ(data().PointPairCount(), 2);
    EXPECT_EQ(std::vector<int32_t>(data().pointPairs().begin(), data().pointPairs().end()),
              (std::vector<int32_t>{0, 1, 1, 0}));
}

TEST_F(MeasureTools, AdjustToolsMoveTheGrabbedPartOnly) {
    data().AppendPoint({20, 20});
    data().AppendLine({10, 50}, {60, 50});
    data().AppendRectangle({70, 10, 100, 40});
    data().AppendAngle({30, 80}, {10, 80}, {10, 60});

    run(kIdAdjustPoint);
    Drag(harness, at(22, 18), at(25, 30));
    EXPECT_EQ(data().points()[0], (PixelPoint{25, 30}));

    run(kIdAdjustLine);
    Drag(harness, at(35, 52), at(35, 62)); // the body: both ends move down 10
    EXPECT_EQ(data().lines()[0], (PixelPoint{10, 60}));
    EXPECT_EQ(data().lines()[1], (PixelPoint{60, 60}));
    Drag(harness, at(61, 61), at(80, 61)); // the end
    EXPECT_EQ(data().lines()[0], (PixelPoint{10, 60}));
    EXPECT_EQ(data().lines()[1], (PixelPoint{79, 60}));

    run(kIdAdjustRectangle);
    Drag(harness, at(101, 41), at(60, 5)); // right-bottom past left-top
    EXPECT_EQ(data().rectangles()[0], (PixelRect{60, 5, 70, 10}));

    run(kIdAdjustAngle);
    Drag(harness, at(10, 80), at(15, 85)); // the vertex moves the whole angle
    EXPECT_EQ(data().angles()[0], (PixelPoint{35, 85}));
    EXPECT_EQ(data().angles()[2], (PixelPoint{15, 65}));
}

TEST_F(MeasureTools, ClearingWhileAnAdjustToolHoldsAGrabIsSafe) {
    data().AppendCircle({50, 50}, {60, 50});
    run(kIdAdjustCircle);
    Press(harness, at(60, 50));
    data().Clear();
    harness.moveMouse(at(70, 50), Qt::LeftButton);
    Release(harness, at(70, 50));
    EXPECT_EQ(data().ItemCount(MeasureKind::Circle), 0);
}

TEST_F(MeasureTools, MarksShowOnlyUnderAMeasurementTool) {
    data().AppendLine({10, 30}, {90, 30});
    const QPoint onLine = at(50, 30);
    run(kIdMeasureLine);
    EXPECT_EQ(Shown(harness, onLine), qRgb(0, 255, 0) & 0xFFFFFFu) << "green lines by default";
    run(kIdZoomTool);
    EXPECT_EQ(Shown(harness, onLine), ImageColour(50, 30));
    run(kIdAdjustLine);
    EXPECT_EQ(Shown(harness, onLine), qRgb(0, 255, 0) & 0xFFFFFFu);
}

TEST_F(MeasureTools, AColourIndexOutsideTheListDrawsTheRoleDefault) {
    data().AppendLine({10, 30}, {90, 30});
    harness.doc().settings().MTColor2 = 42;
    run(kIdMeasureLine);
    EXPECT_EQ(Shown(harness, at(50, 30)), qRgb(0, 255, 0) & 0xFFFFFFu);
}

TEST_F(MeasureTools, CyanChosenAsLineColourDrawsLinesInCyan) {
    data().AppendLine({10, 30}, {90, 30});
    run(kIdMeasureLine);
    WithModalDialog([&] { run(kIdMeasureSetColor); },
                    [](QDialog& dialog) {
                        EXPECT_EQ(dialog.windowTitle(), "Color");
                        auto* lineColour = Child<QComboBox>(dialog, "Line color");
                        EXPECT_EQ(lineColour->currentIndex(), 3);
                        EXPECT_EQ(ComboTexts(lineColour).at(6), "Cyan");
                        lineColour->setCurrentIndex(6);
                        testing::Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(harness.doc().settings().MTColor2, 6);
    EXPECT_EQ(Shown(harness, at(50, 30)), qRgb(0, 255, 255) & 0xFFFFFFu);

    WithModalDialog([&] { run(kIdMeasureSetColor); },
                    [](QDialog& dialog) {
                        Child<QComboBox>(dialog, "Line color")->setCurrentIndex(0);
                        testing::Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_EQ(harness.doc().settings().MTColor2, 6);
}

// How many shown pixels of the client rectangle `area` are near `colour`.
int PixelsNear(const QImage& shown, const QRect& area, QColor colour) {
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

// A label in the picture's own colour, white on white or black on black,
// still reads through its outline in the opposite colour; yellow, the
// default, reads on both through its blue outline.
TEST_F(MeasureTools, LabelsReadOnWhiteAndOnBlackPicturesThroughTheirOutline) {
    data().AppendPoint({40, 60});
    run(kIdMeasurePoint);
    struct Case {
        QColor picture;
        int textIndex;
        QColor text, outline;
    };
    const Case cases[] = {{Qt::white, 1, Qt::white, Qt::black},
                          {Qt::black, 0, Qt::black, Qt::white},
                          {Qt::white, 5, Qt::yellow, Qt::blue},
                          {Qt::black, 5, Qt::yellow, Qt::blue}};
    for (const Case& c : cases) {
        const CDibImage image = harness.doc().image();
        const Bgr fill{static_cast<uint8_t>(c.picture.blue()),
                       static_cast<uint8_t>(c.picture.green()),
                       static_cast<uint8_t>(c.picture.red())};
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width(); ++x)
                SetPixel(image, x, y, fill);
        harness.doc().settings().MTColor4 = c.textIndex;
        view().viewport()->repaint();
        // The label "(40.000, 60.000)" starts 18 rows above the point; the
        // point's own marks reach 6 rows up, below the rows looked at.
        const QPoint point = at(40, 60);
        const QRect label(point.x(), point.y() - 18, 60, 10);
        const QImage shown = harness.grab();
        EXPECT_GT(PixelsNear(shown, label, c.outline), 20) << c.text.name().toStdString();
        if (c.text != c.picture) {
            EXPECT_GT(PixelsNear(shown, label, c.text), 10) << c.text.name().toStdString();
        }
    }
}

TEST_F(MeasureTools, ClearDataAsksAndEmptiesOnOk) {
    ScopedRecordingPrompts prompts;
    data().AppendPoint({1, 1});
    data().AppendLine({1, 1}, {5, 5});
    prompts.answers.push_back(MessageAnswer::Cancel);
    run(kIdClearMeasuredData);
    EXPECT_EQ(data().ItemCount(MeasureKind::Line), 1);
    run(kIdClearMeasuredData);
    ASSERT_EQ(prompts.texts(),
              (std::vector<std::string>{"To clear all data?", "To clear all data?"}));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(data().ItemCount(MeasureKind::Line), 0);
    EXPECT_EQ(data().ItemCount(MeasureKind::Point), 0);
}

// What the tools tell the results panel, in order.
class RecordingResultsPanel : public MeasureResultsPanel {
public:
    void ShowDataPanel() override { calls.push_back("show"); }
    void HideDataPanel() override { calls.push_back("hide"); }
    void SelectTab(MeasureKind kind) override { calls.push_back("tab " + Name(kind)); }
    void AppendRow(MeasureKind kind) override { calls.push_back("append " + Name(kind)); }
    void UpdateRow(MeasureKind kind, int item) override {
        calls.push_back("update " + Name(kind) + " " + std::to_string(item));
    }
    void SelectRow(int row) override { calls.push_back("row " + std::to_string(row)); }

    std::vector<std::string> calls;

private:
    static std::string Name(MeasureKind kind) { return std::to_string(static_cast<int>(kind)); }
};

class MeasureToolsInShell : public ShellTest {};

TEST_F(MeasureToolsInShell, ToolsReportToTheResultsPanelOfTheMainWindow) {
    CChildFrame* window = newImage(100, 80);
    ASSERT_NE(window, nullptr);
    CMavView& view = window->view();
    EXPECT_FALSE(frame().dataPanel()->isVisible());
    ASSERT_TRUE(frame().router().dispatch(kIdMeasurePoint));
    EXPECT_TRUE(frame().dataPanel()->isVisible()) << "the stand-in shows the panel";
    ASSERT_TRUE(frame().router().dispatch(kIdZoomTool));
    EXPECT_FALSE(frame().dataPanel()->isVisible());

    RecordingResultsPanel panel;
    frame().setMeasureResultsPanel(&panel);
    QWidget* viewport = view.viewport();
    ASSERT_TRUE(frame().router().dispatch(kIdMeasureLine));
    const QPoint from = At(view, 10, 10);
    const QPoint to = At(view, 40, 10);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), viewport->mapToGlobal(QPointF(to)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_TRUE(frame().router().dispatch(kIdAdjustLine));
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, to);
    QMouseEvent drag(QEvent::MouseMove, QPointF(to + QPoint(3, 0)),
                     viewport->mapToGlobal(QPointF(to + QPoint(3, 0))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drag);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to + QPoint(3, 0));
    frame().setMeasureResultsPanel(nullptr);

    EXPECT_EQ(panel.calls, (std::vector<std::string>{"show", "append 1", "tab 1", "hide", "show",
                                                     "tab 1", "row 0", "update 1 0"}));
}

} // namespace
} // namespace halvera::testing
