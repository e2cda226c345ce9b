#pragma once

#include "ProcessingTestSupport.h"
#include "RecordingPrompts.h"
#include "ViewHarness.h"

#include <functional>
#include <gtest/gtest.h>

namespace halvera::testing {

// A 12 x 8 image in a view whose history holds one step, the painting of
// `colour` over the harness's image; `before` keeps the painted image, so a
// command's effect and its undoing can be checked against it.
class ViewStepTest : public ::testing::Test {
protected:
    void StartWith(const std::function<Bgr(int x, int y)>& colour) {
        harness.view().runImageCommand(
            [&colour](const CDibImage& image, const CDibImage&, const CDibImage&) {
                for (int y = 0; y < image.height; ++y)
                    for (int x = 0; x < image.width(); ++x)
                        SetPixel(image, x, y, colour(x, y));
            });
        before = CopyOf(harness.doc().image());
    }

    CMavDoc& doc() { return harness.doc(); }
    CMavView& view() { return harness.view(); }
    CDibImage image() { return harness.doc().image(); }

    // Undo must lead back to the state before the painting step, and no further.
    void ExpectHistoryOfOneStep() {
        EXPECT_FALSE(doc().CanRedo());
        ASSERT_TRUE(doc().CanUndo());
        doc().Undo();
        EXPECT_EQ(PixelAt(image(), 0, 0), CoordinateColour(0, 0));
        EXPECT_FALSE(doc().CanUndo());
    }

    ScopedRecordingPrompts prompts;
    ViewHarness harness{12, 8};
    DibBlock before;
};

} // namespace halvera::testing
