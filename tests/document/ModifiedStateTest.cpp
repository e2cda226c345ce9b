// The modified state follows the picture through steps, Undo, Redo and saves.
#include "NewDocumentTest.h"
#include "SyntheticImages.h"
#include "document/ImageCommand.h"
#include "document/MavDoc.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace halvera {
namespace {

class ModifiedState : public testing::NewDocumentTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(NewDocument(5, 3));
        doc.savedState().onModifiedChanged = [this](bool modified) {
            reported.push_back(modified);
        };
    }

    void ImageStep(uint8_t level) {
        RunImageCommand(doc, false, [&] { Fill(doc.image(), level); });
    }
    void MaskStep() {
        SelectionRecord selection;
        RunMaskCommand(doc, selection, [&] { Fill(doc.mask(), 255); });
    }
    static void Fill(const CDibImage& image, uint8_t level) {
        std::memset(image.bits, level, static_cast<size_t>(image.bitsSize));
    }
    // What Save and Save As do once the file is written.
    void Saved() { doc.SetModifiedFlag(false); }

    std::vector<bool> reported;
};

TEST_F(ModifiedState, UndoBackToTheSavedPictureClearsItAndRedoSetsIt) {
    EXPECT_FALSE(doc.IsModified());
    ImageStep(10);
    ImageStep(20);
    EXPECT_TRUE(doc.IsModified());
    Saved();
    doc.Undo();
    EXPECT_TRUE(doc.IsModified()) << "Save As, then Undo: the undone picture is not saved";
    doc.Redo();
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Redo();
    doc.Redo();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(reported, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST_F(ModifiedState, AFreshPictureIsTheSavedOneUntilItChanges) {
    ImageStep(10);
    doc.Undo();
    EXPECT_FALSE(doc.IsModified());
    doc.Redo();
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ModifiedState, ANewStepAfterUndoLeavesTheSavedPictureOutOfReach) {
    ImageStep(10);
    Saved();
    doc.Undo();
    ImageStep(30);
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Redo();
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ModifiedState, SelectionStepsLeaveThePictureAsSaved) {
    ImageStep(10);
    Saved();
    MaskStep();
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Redo();
    doc.Redo();
    EXPECT_FALSE(doc.IsModified());
}

// A change without a step (a preview render) is a picture of its own: Undo of
// a selection step does not bring the saved picture back, and a step begun on
// it records that picture, not the saved one.
TEST_F(ModifiedState, ChangesOutsideTheHistoryAreNeverMistakenForTheSavedPicture) {
    MaskStep();
    Fill(doc.image(), 40);
    doc.SetModifiedFlag(true);
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());

    Saved();
    ImageStep(50);
    Fill(doc.image(), 60);
    doc.SetModifiedFlag(true);
    doc.Undo(); // back to the saved picture (40)
    EXPECT_FALSE(doc.IsModified());
    doc.Redo(); // the step's own result (50), not the unsaved 60
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ModifiedState, ACancelledOrFailedCommandLeavesTheStateAsItWas) {
    ImageStep(10);
    Saved();
    // A dialog command: step recorded around the dialog, then cancelled.
    doc.CopyToWorking();
    SelectionRecord selection;
    ASSERT_TRUE(doc.BeginImageStep(selection));
    Fill(doc.image(), 99);
    EXPECT_TRUE(doc.IsModified()) << "the preview is shown in the image";
    doc.EndImageStep(selection);
    doc.CancelStep();
    doc.RestoreFromWorking();
    EXPECT_FALSE(doc.IsModified());

    EXPECT_FALSE(RunImageCommand(doc, true, [&] {
        Fill(doc.image(), 77);
        return false;
    }));
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ModifiedState, TheSavedPictureIsFoundAgainBelowAFullHistory) {
    ImageStep(1);
    Saved();
    for (int step = 0; step < UndoBuffer::kSlots; ++step)
        ImageStep(static_cast<uint8_t>(100 + step));
    int undos = 0;
    while (doc.CanUndo()) {
        EXPECT_TRUE(doc.IsModified()) << undos;
        doc.Undo();
        ++undos;
    }
    EXPECT_EQ(undos, UndoBuffer::kSlots);
    EXPECT_EQ(testing::PixelAt(doc.image(), 0, 0).red, 1);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ModifiedState, ANewPictureInTheDocumentStartsUnmodified) {
    ImageStep(10);
    ASSERT_TRUE(NewDocument(4, 4));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(reported.back(), false);
}

} // namespace
} // namespace halvera
