#include "NewDocumentTest.h"
#include "SyntheticImages.h"
#include "document/MavDoc.h"
#include "processing/ProcessingCommands.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace halvera {
namespace {

using testing::ByteAt;
using testing::PixelAt;

// A small document whose image starts white; each image step fills it with
// one grey level, so the level tells which step the image shows.
class UndoHistory : public testing::NewDocumentTest {
protected:
    void SetUp() override { ASSERT_TRUE(NewDocument(5, 3)); }

    static void Fill(const CDibImage& image, uint8_t level) {
        std::memset(image.bits, level, static_cast<size_t>(image.bitsSize));
    }

    void ImageStep(uint8_t level) {
        SelectionRecord selection;
        selection.setKind(StepKind::Image);
        doc.BeginImageStep(selection);
        Fill(doc.image(), level);
        doc.EndImageStep(selection);
    }

    void MaskStep(uint8_t level) {
        SelectionRecord selection;
        doc.BeginMaskStep(selection);
        Fill(doc.mask(), level);
        doc.EndMaskStep(selection);
    }

    void ImageMaskStep(uint8_t imageLevel, uint8_t maskLevel) {
        SelectionRecord selection;
        doc.BeginImageMaskStep(selection);
        Fill(doc.image(), imageLevel);
        Fill(doc.mask(), maskLevel);
        doc.EndImageMaskStep(selection);
    }

    uint8_t ImageLevel() const { return PixelAt(doc.image(), 4, 2).red; }
    uint8_t MaskLevel() const { return ByteAt(doc.mask(), 4, 2); }

    // Undoes until nothing is left and returns how many undos there were.
    int UndoAll() {
        int undos = 0;
        while (doc.CanUndo() && undos <= UndoBuffer::kSlots) {
            doc.Undo();
            ++undos;
        }
        return undos;
    }
};

TEST_F(UndoHistory, TwentySevenStepsAreAllUndoneAndRedone) {
    for (int level = 1; level <= 27; ++level)
        ImageStep(static_cast<uint8_t>(level));
    EXPECT_EQ(doc.undoHistory().count(), 27);

    EXPECT_EQ(UndoAll(), 27);
    EXPECT_EQ(ImageLevel(), 255) << "back to the white image before the first step";
    for (int level = 1; level <= 27; ++level) {
        ASSERT_TRUE(doc.CanRedo());
        doc.Redo();
        EXPECT_EQ(ImageLevel(), level);
    }
    EXPECT_FALSE(doc.CanRedo());
}

TEST_F(UndoHistory, TwentyEighthStepDropsTheOldest) {
    for (int level = 1; level <= 28; ++level)
        ImageStep(static_cast<uint8_t>(level));
    EXPECT_EQ(doc.undoHistory().count(), 27);

    EXPECT_EQ(UndoAll(), 27);
    EXPECT_EQ(ImageLevel(), 1) << "the image after the first step";
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 1) << "an undo with nothing left changes nothing";
}

TEST_F(UndoHistory, UndoWithNothingRecordedChangesNothing) {
    Fill(doc.image(), 40);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.Undo(), SelectionRecord{});
    EXPECT_EQ(ImageLevel(), 40);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
}

TEST_F(UndoHistory, NewStepAfterUndoDiscardsWhatCouldBeRedone) {
    ImageStep(10);
    ImageStep(20);
    doc.Undo();
    EXPECT_TRUE(doc.CanRedo());

    ImageStep(30);
    EXPECT_FALSE(doc.CanRedo());
    doc.Redo();
    EXPECT_EQ(ImageLevel(), 30);
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 10);
}

TEST_F(UndoHistory, MaskStepIsUndoneWithoutMarkingTheDocumentModified) {
    MaskStep(255);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(doc.CanUndo());
    doc.Undo();
    EXPECT_EQ(MaskLevel(), 0);
    EXPECT_EQ(ImageLevel(), 255);
    EXPECT_FALSE(doc.IsModified());
    doc.Redo();
    EXPECT_EQ(MaskLevel(), 255);

    ImageStep(7);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(UndoHistory, ImageAndMaskStepIsUndoneAndRedoneAsOne) {
    ImageStep(10);
    ImageMaskStep(20, 255);
    EXPECT_TRUE(doc.IsModified());

    doc.Undo();
    EXPECT_EQ(ImageLevel(), 10);
    EXPECT_EQ(MaskLevel(), 0);
    ASSERT_TRUE(doc.CanUndo()) << "the first step is still there";

    doc.Redo();
    EXPECT_EQ(ImageLevel(), 20);
    EXPECT_EQ(MaskLevel(), 255);
    EXPECT_FALSE(doc.CanRedo());

    EXPECT_EQ(UndoAll(), 2);
    EXPECT_EQ(ImageLevel(), 255);
}

TEST_F(UndoHistory, ImageAndMaskStepInAFullHistoryPushesOutWholeSteps) {
    for (int level = 1; level <= 27; ++level)
        ImageStep(static_cast<uint8_t>(level));
    ImageMaskStep(100, 255);

    doc.Undo();
    EXPECT_EQ(ImageLevel(), 27);
    EXPECT_EQ(MaskLevel(), 0);
    EXPECT_EQ(UndoAll(), 25);
    EXPECT_EQ(ImageLevel(), 2) << "steps 1 and 2 made room for the two halves";
}

TEST_F(UndoHistory, OldestImageAndMaskStepLeavesNoHalfBehind) {
    ImageMaskStep(50, 255);
    for (int level = 1; level <= 25; ++level)
        ImageStep(static_cast<uint8_t>(level));
    EXPECT_EQ(doc.undoHistory().count(), 27) << "the first step takes two slots";
    ImageStep(26);
    EXPECT_EQ(doc.undoHistory().count(), 26) << "both slots of the oldest step made room";

    EXPECT_EQ(UndoAll(), 26);
    EXPECT_EQ(ImageLevel(), 50);
    EXPECT_EQ(MaskLevel(), 255) << "no orphaned mask half is undone";
}

TEST_F(UndoHistory, UndoAndRedoReturnTheStepsSelectionRecords) {
    SelectionRecord before;
    before.words = {3, 11, 12, 13, 14, 15, 16};
    doc.BeginImageStep(before);
    Fill(doc.image(), 1);
    SelectionRecord after = before;
    after.clearTail();
    doc.EndImageStep(after);

    const SelectionRecord undone = doc.Undo();
    EXPECT_EQ(undone, before);
    const SelectionRecord redone = doc.Redo();
    EXPECT_EQ(redone, after);
    EXPECT_EQ(redone.words[3], 0);
    EXPECT_EQ(redone.words[6], 16) << "word 7 is passed along unchanged";
}

TEST_F(UndoHistory, StoredKindIsTheOneTheStepNames) {
    SelectionRecord selection;
    selection.setKind(StepKind::Mask); // a stale kind left in the view's record
    doc.BeginImageStep(selection);
    Fill(doc.image(), 9);
    doc.EndImageStep(selection);

    EXPECT_EQ(doc.Undo().kind(), static_cast<int32_t>(StepKind::Image));
    EXPECT_EQ(ImageLevel(), 255);
}

TEST_F(UndoHistory, SecondBeginWhileAStepIsPendingIsRefused) {
    SelectionRecord selection;
    ASSERT_TRUE(doc.BeginImageStep(selection));
    Fill(doc.image(), 5);
    EXPECT_FALSE(doc.BeginImageStep(selection));
    Fill(doc.image(), 6);
    doc.EndImageStep(selection);

    EXPECT_EQ(doc.undoHistory().count(), 1);
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 255) << "the first before-record stands";
}

TEST_F(UndoHistory, UndoAndRedoAreRefusedWhileAStepIsPending) {
    ImageStep(10);
    ImageStep(20);
    doc.Undo();

    SelectionRecord selection;
    selection.words[1] = 77;
    ASSERT_TRUE(doc.BeginImageStep(selection));
    Fill(doc.image(), 30);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.Undo().words[1], 77) << "the current record comes back";
    EXPECT_EQ(ImageLevel(), 30);
    doc.Redo();
    EXPECT_EQ(ImageLevel(), 30);

    doc.EndImageStep(selection);
    EXPECT_TRUE(doc.CanUndo());
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 10);
}

// A dialog command that ends with Cancel: Begin, preview, End, CancelStep,
// RestoreFromWorking. At every depth, with and without something to redo, the
// image and the undoable steps are as before and nothing can be redone.
TEST_F(UndoHistory, CancelLeavesImageAndStepsAsTheyWereAtEveryDepth) {
    for (int depth = 0; depth <= UndoBuffer::kSlots; ++depth) {
        for (const bool undoFirst : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "depth " << depth << ", undo first " << undoFirst);
            ASSERT_TRUE(doc.OnNewDocument());
            for (int level = 1; level <= depth; ++level)
                ImageStep(static_cast<uint8_t>(level));
            if (undoFirst)
                doc.Undo();
            const uint8_t levelBefore = ImageLevel();
            const int countBefore = doc.undoHistory().count();

            SelectionRecord selection;
            doc.CopyToWorking();
            doc.BeginImageStep(selection);
            Fill(doc.image(), 200);
            doc.EndImageStep(selection);
            doc.CancelStep();
            doc.RestoreFromWorking();

            EXPECT_EQ(ImageLevel(), levelBefore);
            EXPECT_EQ(doc.undoHistory().count(), countBefore);
            EXPECT_FALSE(doc.CanRedo());
            EXPECT_EQ(UndoAll(), countBefore);
            EXPECT_EQ(ImageLevel(), 255);
        }
    }
}

TEST_F(UndoHistory, CancelWhilePendingKeepsTheEarlierSteps) {
    ImageStep(10);
    ImageStep(20);
    SelectionRecord selection;
    doc.CopyToWorking();
    doc.BeginImageStep(selection);
    Fill(doc.image(), 99);
    doc.CancelStep();
    doc.RestoreFromWorking();

    EXPECT_EQ(ImageLevel(), 20);
    EXPECT_EQ(doc.undoHistory().count(), 2);
    EXPECT_FALSE(doc.undoHistory().pending());
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 10);
}

TEST_F(UndoHistory, CancelOfAnImageAndMaskStepRemovesBothHalves) {
    ImageStep(10);
    ImageMaskStep(20, 255);
    doc.CancelStep();
    EXPECT_EQ(doc.undoHistory().count(), 1);
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 255);
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(UndoHistory, UndoRestoresTheImageHeaderAndRowPadding) {
    // Row padding is part of the block: a step that scribbles on it is undone too.
    const CDibImage image = doc.image();
    std::vector<uint8_t> original(reinterpret_cast<uint8_t*>(image.header),
                                  reinterpret_cast<uint8_t*>(image.header) + image.blockSize);
    SelectionRecord selection;
    doc.BeginImageStep(selection);
    Fill(image, 3);
    doc.EndImageStep(selection);
    doc.Undo();
    EXPECT_EQ(0, std::memcmp(image.header, original.data(), original.size()));
}

TEST_F(UndoHistory, ConsecutiveStepsShareTheStateBetweenThem) {
    for (uint8_t level = 1; level <= 3; ++level)
        ImageStep(level);
    EXPECT_EQ(doc.undoHistory().heldCopies(), 4) << "white, 1, 2, 3";
    MaskStep(255);
    ImageMaskStep(9, 0);
    // The mask step's before is the mask as created; the image-and-mask step
    // shares the image's 3 and the mask's 255.
    EXPECT_EQ(doc.undoHistory().heldCopies(), 4 + 2 + 2);
    EXPECT_EQ(UndoAll(), 5);
    EXPECT_EQ(ImageLevel(), 255);
    for (const uint8_t level : {1, 2, 3}) {
        doc.Redo();
        EXPECT_EQ(ImageLevel(), level);
    }
}

TEST_F(UndoHistory, UnchangedStepSharesItsOwnBeforeAndAfter) {
    SelectionRecord selection;
    doc.BeginImageStep(selection);
    doc.EndImageStep(selection);
    EXPECT_EQ(doc.undoHistory().heldCopies(), 1);
    ImageStep(40);
    EXPECT_EQ(doc.undoHistory().heldCopies(), 2);
}

TEST_F(UndoHistory, NewStepAfterUndoLeavesTheSharedCopiesIntact) {
    ImageStep(10);
    ImageStep(20);
    doc.Undo();
    ImageStep(30); // its before-state is step 10's after-state, shared
    EXPECT_FALSE(doc.CanRedo());
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 10);
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 255);
    doc.Redo();
    EXPECT_EQ(ImageLevel(), 10);
    doc.Redo();
    EXPECT_EQ(ImageLevel(), 30);
    // Recording over the reused slots again must not write into a copy
    // another record still holds.
    doc.Undo();
    ImageStep(50);
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 10);
    doc.Undo();
    EXPECT_EQ(ImageLevel(), 255);
}

TEST_F(UndoHistory, FullHistoryOfInvertsHoldsOneCopyPerState) {
    ASSERT_TRUE(NewDocument(2048, 2048));
    const CDibImage image = doc.image();
    for (int32_t y = 0; y < image.height; ++y) {
        uint8_t* row = image.row(y);
        for (int32_t x = 0; x < image.stride; ++x)
            row[x] = static_cast<uint8_t>(x * 7 + y * 13);
    }
    const std::vector<uint8_t> original(image.bits, image.bits + image.bitsSize);
    SelectionRecord selection;
    for (int step = 0; step < UndoBuffer::kSlots; ++step)
        ASSERT_TRUE(RunInvertCommand(doc, selection));
    EXPECT_LE(doc.undoHistory().heldCopies(), UndoBuffer::kSlots + 1);

    // Every 97th row, pixel bytes only (the padding is not inverted).
    const auto isInverted = [&] {
        for (int32_t y = 0; y < image.height; y += 97) {
            const size_t row = size_t(y) * size_t(image.stride);
            for (size_t x = 0; x < size_t(3 * image.width()); ++x)
                if (image.bits[row + x] != static_cast<uint8_t>(~original[row + x]))
                    return false;
        }
        return true;
    };
    EXPECT_TRUE(isInverted()); // 27 inverts
    for (int undo = 1; undo <= UndoBuffer::kSlots; ++undo) {
        doc.Undo();
        EXPECT_EQ(isInverted(), undo % 2 == 0) << "after undo " << undo;
    }
    EXPECT_EQ(0, std::memcmp(image.bits, original.data(), original.size()));
    for (int redo = 1; redo <= UndoBuffer::kSlots; ++redo) {
        doc.Redo();
        EXPECT_EQ(isInverted(), redo % 2 == 1) << "after redo " << redo;
    }
}

} // namespace
} // namespace halvera
