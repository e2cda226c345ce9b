#include "document/ImageCommand.h"

#include "NewDocumentTest.h"
#include "SyntheticImages.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::PixelAt;

class ImageCommand : public testing::NewDocumentTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(NewDocument(4, 2));
        testing::SetPixel(doc.image(), 1, 1, Bgr{10, 20, 30});
    }

    // Writes the working copy's pixel (1, 1), brightened, into the image, as
    // an operation that reads the unchanged image does.
    void BrightenFromWorking() {
        const Bgr source = PixelAt(doc.working(), 1, 1);
        testing::SetPixel(
            doc.image(), 1, 1,
            Bgr{uint8_t(source.blue + 1), uint8_t(source.green + 1), uint8_t(source.red + 1)});
    }
};

TEST_F(ImageCommand, RecordsOneUndoableStepAroundTheOperation) {
    SelectionRecord selection;
    selection.words = {0, 1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(RunImageCommand(doc, selection, true, [&] { BrightenFromWorking(); }));

    EXPECT_EQ(PixelAt(doc.image(), 1, 1), (Bgr{11, 21, 31}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(selection.kind(), static_cast<int32_t>(StepKind::Image));
    EXPECT_EQ(selection.words, (std::array<int32_t, 7>{3, 1, 2, 0, 0, 0, 6}));

    const SelectionRecord undone = doc.Undo();
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), (Bgr{10, 20, 30}));
    EXPECT_EQ(undone.words[3], 3) << "the before-record was taken before the tail was cleared";
    doc.Redo();
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), (Bgr{11, 21, 31}));
}

TEST_F(ImageCommand, WithoutAWorkingCopyTheOperationSeesTheOldWorkingCopy) {
    doc.CopyToWorking();
    testing::SetPixel(doc.image(), 1, 1, Bgr{50, 50, 50});
    RunImageCommand(doc, false, [&] { BrightenFromWorking(); });
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), (Bgr{11, 21, 31}));
}

TEST_F(ImageCommand, FailedOperationLeavesImageHistoryAndFlagAsBefore) {
    RunImageCommand(doc, false, [] {});
    doc.Undo();
    doc.SetModifiedFlag(false);

    const bool done = RunImageCommand(doc, true, [&] {
        testing::SetPixel(doc.image(), 0, 0, Bgr{1, 1, 1});
        return false;
    });
    EXPECT_FALSE(done);
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{255, 255, 255}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.undoHistory().pending());
    EXPECT_FALSE(doc.CanRedo()) << "a cancelled command still ends what could be redone";
}

TEST_F(ImageCommand, NestedCommandRunsInsideTheOuterStep) {
    RunImageCommand(doc, false, [&] {
        testing::SetPixel(doc.image(), 0, 0, Bgr{1, 1, 1});
        RunImageCommand(doc, false, [&] { testing::SetPixel(doc.image(), 0, 1, Bgr{2, 2, 2}); });
    });
    EXPECT_EQ(doc.undoHistory().count(), 1);
    doc.Undo();
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{255, 255, 255}));
    EXPECT_EQ(PixelAt(doc.image(), 0, 1), (Bgr{255, 255, 255}));
}

TEST_F(ImageCommand, MaskCommandDoesNotMarkModified) {
    SelectionRecord selection;
    RunMaskCommand(doc, selection, [&] { testing::SetByte(doc.mask(), 2, 1, 255); });
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(selection.kind(), static_cast<int32_t>(StepKind::Mask));
    doc.Undo();
    EXPECT_EQ(testing::ByteAt(doc.mask(), 2, 1), 0);
}

TEST_F(ImageCommand, ImageMaskCommandIsOneStep) {
    SelectionRecord selection;
    RunImageMaskCommand(doc, selection, false, [&] {
        testing::SetByte(doc.mask(), 2, 1, 255);
        testing::SetPixel(doc.image(), 2, 1, Bgr{0, 0, 0});
    });
    doc.Undo();
    EXPECT_EQ(testing::ByteAt(doc.mask(), 2, 1), 0);
    EXPECT_EQ(PixelAt(doc.image(), 2, 1), (Bgr{255, 255, 255}));
    EXPECT_FALSE(doc.CanUndo());
}

} // namespace
} // namespace halvera
