// The graph commands of the Measurement menu on a real view.
#include "DialogDriving.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "ViewHarness.h"
#include "measure/MeasureColors.h"
#include "measure/MeasureGraph.h"
#include "view/CommandIds.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

DibBlock CopyOf(const CDibImage& image) {
    return MakeRgb(image.width(), image.height, [&](int x, int y) { return PixelAt(image, x, y); });
}

class GraphCommands : public ::testing::Test {
protected:
    GraphCommands() : harness(120, 90) {}

    CMavDoc& doc() { return harness.doc(); }
    void run(int command) { ASSERT_TRUE(harness.view().onCommand(command)); }

    ScopedRecordingPrompts prompts;
    ViewHarness harness;
};

TEST_F(GraphCommands, MergeThenUndoRestoresTheImageBitForBit) {
    const DibBlock before = CopyOf(doc().image());
    ASSERT_TRUE(doc().measureData().AppendLine({10, 40}, {100, 40}));
    ASSERT_TRUE(doc().measureData().AppendPoint({60, 70}));
    run(kIdGraphMerge);
    EXPECT_FALSE(SamePixels(doc().image(), before.dib()));
    const MeasureColor& line = MeasureColorOf(doc().settings(), MeasureColorRole::Line);
    EXPECT_EQ(PixelAt(doc().image(), 50, 40), (Bgr{line.blue, line.green, line.red}));
    run(kIdEditUndo);
    EXPECT_TRUE(SamePixels(doc().image(), before.dib()));
}

// White text on the white graph reads through its black outline: every
// pixel besides the marks is the outline's black, and there are enough of
// them to spell the labels. Yellow text shows in yellow with a blue outline.
TEST_F(GraphCommands, BuildGraphLabelsReadThroughTheirOutlineEvenInWhite) {
    ASSERT_TRUE(doc().measureData().AppendLine({10, 40}, {100, 40}));
    ASSERT_TRUE(doc().measureData().AppendCircle({60, 60}, {60, 75}));
    MeasureColorSetting(doc().settings(), MeasureColorRole::Text) = 1; // White
    run(kIdGraphBuild);

    // The marks without any label, drawn by the core on white.
    const DibBlock marks = MakeUniformRgb(120, 90, Bgr{255, 255, 255});
    BurnMeasureGraph(marks.dib(), doc().measureData(), {},
                     GraphColours::FromSettings(doc().settings()), nullptr, kGraphWhite, true);
    const Bgr white{255, 255, 255};
    const Bgr black{0, 0, 0};
    int markPixels = 0;
    int outlinePixels = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) {
            const Bgr shown = PixelAt(doc().image(), x, y);
            if (shown == white)
                continue;
            if (shown == PixelAt(marks.dib(), x, y))
                ++markPixels;
            else
                EXPECT_EQ(shown, black) << "at " << x << ", " << y;
            outlinePixels += shown == black ? 1 : 0;
        }
    EXPECT_GT(markPixels, 100);
    EXPECT_GT(outlinePixels, 100) << "two labels of several characters";

    run(kIdEditUndo);
    MeasureColorSetting(doc().settings(), MeasureColorRole::Text) = 5;
    run(kIdGraphBuild);
    int yellow = 0;
    int blue = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) {
            const Bgr shown = PixelAt(doc().image(), x, y);
            if (shown == PixelAt(marks.dib(), x, y))
                continue; // a mark, or white
            yellow += shown == Bgr{0, 255, 255} ? 1 : 0;
            blue += shown == Bgr{255, 0, 0} ? 1 : 0;
        }
    EXPECT_GT(yellow, 20);
    EXPECT_GT(blue, 100);
}

TEST_F(GraphCommands, PrintGraphShowsTheGraphAndLeavesImageAndHistoryAsTheyWere) {
    ASSERT_TRUE(doc().measureData().AppendPoint({60, 45}));
    const DibBlock before = CopyOf(doc().image());
    const int steps = doc().undoHistory().count();
    bool whiteWhileOpen = false;
    WithModalDialog([&] { run(kIdGraphPrint); },
                    [&](QDialog& dialog) {
                        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Image Position Set"));
                        whiteWhileOpen = PixelAt(doc().image(), 0, 0) == Bgr{255, 255, 255};
                        QTest::mouseClick(Child<QPushButton>(dialog, "exit"), Qt::LeftButton);
                    });
    EXPECT_TRUE(whiteWhileOpen);
    EXPECT_TRUE(SamePixels(doc().image(), before.dib()));
    EXPECT_EQ(doc().undoHistory().count(), steps);
    EXPECT_FALSE(doc().CanUndo());
}

TEST_F(GraphCommands, PrintGraphWithoutItemsSaysSo) {
    run(kIdGraphPrint);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "There is no data to output!");
}

} // namespace
} // namespace halvera::testing
