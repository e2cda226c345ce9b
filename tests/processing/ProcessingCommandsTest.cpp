#include "processing/ProcessingCommands.h"

#include "NewDocumentTest.h"
#include "ProcessingTestSupport.h"
#include "RecordingPrompts.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Grey;
using testing::PixelAt;

class ProcessingCommand : public testing::NewDocumentTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(NewDocument(5, 5));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                testing::SetPixel(doc.image(), x, y, Grey(x == 2 && y == 2 ? 255 : 0));
        original = testing::CopyOf(doc.image());
    }

    DibBlock original;
    SelectionRecord selection;
    testing::ScopedRecordingPrompts prompts;
};

TEST_F(ProcessingCommand, InvertIsOneUndoableImageStep) {
    ASSERT_TRUE(RunInvertCommand(doc, selection));
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), Grey(255));
    EXPECT_EQ(selection.kind(), static_cast<int32_t>(StepKind::Image));
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(testing::SamePixels(doc.image(), original.dib()));
}

TEST_F(ProcessingCommand, FiltersTakeTheWorkingCopyAfresh) {
    // Whatever an earlier command left in the working copy is not read.
    std::fill(doc.working().bits, doc.working().end, uint8_t{77});
    ASSERT_TRUE(RunSmoothingCommand(doc, selection, SmoothingFilter::LowPass));
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), Grey(51));
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), Grey(0));
    ASSERT_TRUE(RunEdgeCommand(doc, selection, EdgeFilter::Vertical));
    EXPECT_EQ(PixelAt(doc.image(), 1, 2), Grey(51)); // W 0, E 51
}

TEST_F(ProcessingCommand, OnlyRobertsAndKirschRunWithoutTheWaitCursor) {
    for (const EdgeFilter filter : {EdgeFilter::Roberts, EdgeFilter::Kirsch}) {
        ASSERT_TRUE(RunEdgeCommand(doc, selection, filter));
        EXPECT_EQ(prompts.waitCursorBegins, 0);
    }
    ASSERT_TRUE(RunEdgeCommand(doc, selection, EdgeFilter::Sobel));
    ASSERT_TRUE(RunSmoothingCommand(doc, selection, SmoothingFilter::Median));
    EXPECT_EQ(prompts.waitCursorBegins, 2);
    EXPECT_EQ(prompts.waitCursorEnds, 2);
}

TEST_F(ProcessingCommand, AdjustmentsGiveTheDialogsResultForTheSliderValues) {
    // Mean grey 255 / 26 = 9: contrast 100 thresholds there; brightness -10
    // then takes 25 off.
    ASSERT_TRUE(RunBrightnessContrastCommand(doc, selection, -10, 100));
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), Grey(230));
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), Grey(0));
    ASSERT_TRUE(RunColorBalanceCommand(doc, selection, 0, 10, -100));
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), (Bgr{0, 255, 230}));
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{0, 25, 0}));
    ASSERT_TRUE(RunHueSaturationCommand(doc, selection, 180, 0, 0));
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{25, 0, 25}));
}

TEST_F(ProcessingCommand, ValuesBeyondTheSlidersChangeNothingAndLeaveNoStep) {
    EXPECT_FALSE(RunBrightnessContrastCommand(doc, selection, 0, 101));
    EXPECT_FALSE(RunColorBalanceCommand(doc, selection, -101, 0, 0));
    EXPECT_FALSE(RunHueSaturationCommand(doc, selection, 181, 0, 0));
    EXPECT_TRUE(testing::SamePixels(doc.image(), original.dib()));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
} // namespace halvera
