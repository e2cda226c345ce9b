#include "processing/ShadeCorrectionCommand.h"

#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/AppSettings.h"
#include "processing/ShadeCorrectPolynomial.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::PixelAt;
using testing::SetPixel;

class ShadeCorrectionCommand : public ::testing::Test {
protected:
    // A grey document of width x height with one darker pixel.
    void Open(int width, int height) {
        settings.ImageWidth = width;
        settings.ImageHeight = height;
        ASSERT_TRUE(doc.OnNewDocument());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetPixel(doc.image(), x, y, Bgr{120, 120, 120});
        SetPixel(doc.image(), 3, 2, Bgr{30, 60, 90});
        doc.SetModifiedFlag(false);
    }

    testing::ScopedRecordingPrompts prompts;
    AppSettings settings;
    CMavDoc doc{settings};
    SelectionRecord selection;
};

TEST_F(ShadeCorrectionCommand, CorrectsUnderTheWaitCursorAsOneUndoStep) {
    Open(40, 30);
    ASSERT_TRUE(
        RunAutomaticShadeCorrection(doc, selection, AutomaticShadeCorrection::Morphological9));
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{255, 255, 255}));
    // The dark pixel sits in a background of 120: (v * 255) div 120.
    EXPECT_EQ(PixelAt(doc.image(), 3, 2), (Bgr{63, 127, 191}));
    EXPECT_EQ(prompts.waitCursorBegins, 1);
    EXPECT_EQ(prompts.waitCursorEnds, 1);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(doc.IsModified());

    ASSERT_TRUE(doc.CanUndo());
    doc.Undo();
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{120, 120, 120}));
    EXPECT_EQ(PixelAt(doc.image(), 3, 2), (Bgr{30, 60, 90}));
}

TEST_F(ShadeCorrectionCommand, AFailedFitTellsTheUserAndLeavesNoStep) {
    Open(40, 30); // narrower than the 64-cell grid
    EXPECT_FALSE(RunAutomaticShadeCorrection(doc, selection, AutomaticShadeCorrection::Polynomial));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{std::string(kNoBackgroundFitMessage)});
    EXPECT_EQ(prompts.waitCursorBegins, prompts.waitCursorEnds);
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{120, 120, 120}));
    EXPECT_EQ(PixelAt(doc.image(), 3, 2), (Bgr{30, 60, 90}));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
} // namespace halvera
