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

TEST_F(GraphCommands, BuildGraphWithWhiteTextShowsTheMarksAlone) {
    ASSERT_TRUE(doc().measureData().AppendLine({10, 40}, {100, 40}));
    ASSERT_TRUE(doc().measureData().AppendCircle({60, 60}, {60, 75}));
    MeasureColorSetting(doc().settings(), MeasureColorRole::Text) = 1; // White
    run(kIdGraphBuild);

    // The marks without any label, drawn by the core on white. A white label
    // may hide marks under it, but adds no pixel of its own.
    const DibBlock marks = MakeUniformRgb(120, 90, Bgr{255, 255, 255});
    BurnMeasureGraph(marks.dib(), doc().measureData(), {},
                     GraphColours::FromSettings(doc().settings()), nullptr, kGraphWhite, true);
    const Bgr white{255, 255, 255};
    int markPixels = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) {
            const Bgr shown = PixelAt(doc().image(), x, y);
            if (shown == white)
                continue;
            ++markPixels;
            ASSERT_EQ(shown, PixelAt(marks.dib(), x, y)) << "at " << x << ", " << y;
        }
    EXPECT_GT(markPixels, 100);

    // In yellow the labels add pixels of their own.
    run(kIdEditUndo);
    MeasureColorSetting(doc().settings(), MeasureColorRole::Text) = 5;
    run(kIdGraphBuild);
    bool yellow = false;
    for (int y = 0; y < 90 && !yellow; ++y)
        for (int x = 0; x < 120 && !yellow; ++x)
            yellow = PixelAt(doc().image(), x, y) == Bgr{0, 255, 255};
    EXPECT_TRUE(yellow);
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
