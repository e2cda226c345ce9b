#include "view/ui/SelectionCommands.h"

#include "PackedPictures.h"
#include "ViewHarness.h"
#include "image/RegionOfInterest.h"
#include "view/CommandIds.h"
#include "view/FillMaskRect.h"
#include "view/PackImage.h"
#include "view/ui/ClipboardPicture.h"
#include "view/ui/PasteTool.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

constexpr Bgr kRed{0, 0, 255};

// The clipboard's picture as a 24-bit image.
DibBlock ClipboardImage() {
    return Unpacked(PictureFromClipboard());
}

// Puts a width x height picture of one colour on the clipboard.
void PutUniformPicture(int width, int height, Bgr colour) {
    const DibBlock image = MakeUniformRgb(width, height, colour);
    ASSERT_TRUE(PutPictureOnClipboard(PackImage(image.dib())));
}

bool PasteEnabled(CMavView& view) {
    CommandState state;
    EXPECT_TRUE(view.onUpdateCommand(kIdEditPaste, state));
    return state.enabled;
}

TEST(SelectionCommands, RoiClearIsOneMaskStepThatKeepsTheModifiedFlag) {
    ViewHarness harness(8, 6);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    FillMaskRect(doc.mask(), {1, 1, 3, 2}, 255);
    FillMaskRect(doc.savedMask(), {0, 0, 7, 5}, 255);
    ASSERT_TRUE(view.onCommand(kIdRoiClear));
    EXPECT_FALSE(MaskHasRegion(doc.mask()));
    EXPECT_FALSE(MaskHasRegion(doc.savedMask()));
    EXPECT_FALSE(view.outlineTimerOn());
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(doc.CanUndo());
    view.onCommand(kIdEditUndo);
    EXPECT_EQ(ByteAt(doc.mask(), 3, 2), 255);
    EXPECT_EQ(ByteAt(doc.mask(), 4, 2), 0);

    // Without a region there is nothing to clear and no step.
    ViewHarness empty(8, 6);
    empty.view().onCommand(kIdRoiClear);
    EXPECT_FALSE(empty.doc().CanUndo());
}

TEST(SelectionCommands, CropWhitensOutsideAsOneImageStep) {
    ViewHarness harness(8, 6);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    FillMaskRect(doc.mask(), {2, 1, 4, 3}, 255);
    ASSERT_TRUE(view.onCommand(kIdCrop));
    EXPECT_EQ(PixelAt(doc.image(), 2, 1), CoordinateColour(2, 1));
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), kWhite);
    EXPECT_EQ(PixelAt(doc.image(), 5, 3), kWhite);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(view.outlineTimerOn());
    view.onCommand(kIdEditUndo);
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), CoordinateColour(1, 1));
}

TEST(SelectionCommands, CropWithoutARegionChangesNothingAndAddsNoStep) {
    ViewHarness harness(8, 6);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdRectMarqueeTool));
    ASSERT_TRUE(view.onCommand(kIdCrop));
    EXPECT_EQ(view.tool(), nullptr);
    EXPECT_FALSE(harness.doc().CanUndo());
    EXPECT_FALSE(harness.doc().IsModified());
    EXPECT_EQ(PixelAt(harness.doc().image(), 0, 0), CoordinateColour(0, 0));
}

TEST(SelectionCommands, AMaskOfFaintBytesIsARegionThatSelectsNothing) {
    ViewHarness harness(6, 4);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            SetByte(doc.mask(), x, y, uint8_t(1 + 40 * x + y));
    ASSERT_TRUE(view.onCommand(kIdCrop));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(PixelAt(doc.image(), x, y), kWhite);
    EXPECT_TRUE(doc.CanUndo());
}

TEST(SelectionCommands, CopyWithoutARegionCopiesTheWholeImage) {
    ViewHarness harness(7, 5);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdEditCopy));
    const DibBlock copied = ClipboardImage();
    EXPECT_TRUE(SamePixels(copied.dib(), harness.doc().image()));
    EXPECT_FALSE(harness.doc().CanUndo());
}

TEST(SelectionCommands, CopyWithARegionGivesTheBoundsPaddedWithWhite) {
    ViewHarness harness(9, 7);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    FillMaskRect(doc.mask(), {2, 1, 4, 1}, 255);
    FillMaskRect(doc.mask(), {5, 3, 5, 4}, 255);
    ASSERT_TRUE(view.onCommand(kIdEditCopy));
    const DibBlock copied = ClipboardImage();
    ASSERT_EQ(copied.width(), 4);
    ASSERT_EQ(copied.height(), 4);
    EXPECT_EQ(PixelAt(copied.dib(), 0, 0), CoordinateColour(2, 1));
    EXPECT_EQ(PixelAt(copied.dib(), 3, 2), CoordinateColour(5, 3));
    EXPECT_EQ(PixelAt(copied.dib(), 0, 3), kWhite);
    EXPECT_EQ(PixelAt(copied.dib(), 3, 0), kWhite);
}

TEST(SelectionCommands, CutWhitensWhatItCopiesAndKeepsTheTool) {
    ViewHarness harness(8, 6);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    FillMaskRect(doc.mask(), {1, 1, 2, 2}, 255);
    ASSERT_TRUE(view.onCommand(kIdRoiCutTool));
    CMouseTool* tool = view.tool();
    ASSERT_TRUE(view.onCommand(kIdEditCut));
    EXPECT_EQ(view.tool(), tool);
    const DibBlock cut = ClipboardImage();
    ASSERT_EQ(cut.width(), 2);
    EXPECT_EQ(PixelAt(cut.dib(), 1, 1), CoordinateColour(2, 2));
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), kWhite);
    EXPECT_EQ(PixelAt(doc.image(), 3, 2), CoordinateColour(3, 2));
    EXPECT_TRUE(doc.IsModified());
    view.onCommand(kIdEditUndo);
    EXPECT_EQ(PixelAt(doc.image(), 2, 2), CoordinateColour(2, 2));
}

TEST(SelectionCommands, CutWithoutARegionWhitensTheWholeImage) {
    ViewHarness harness(5, 3);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdEditCut));
    EXPECT_EQ(ClipboardImage().width(), 5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(PixelAt(harness.doc().image(), x, y), kWhite);
}

TEST(SelectionCommands, CopyThenPasteThroughTheClipboardRestoresThePixels) {
    ViewHarness harness(10, 8);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    DibBlock original = MakeRgb(10, 8, [](int x, int y) { return CoordinateColour(x, y); });
    ASSERT_TRUE(view.onCommand(kIdEditCopy));
    ASSERT_TRUE(view.onCommand(kIdEditCut));
    ASSERT_EQ(PixelAt(doc.image(), 4, 4), kWhite);

    ASSERT_TRUE(PasteEnabled(view));
    ASSERT_TRUE(view.onCommand(kIdEditPaste));
    EXPECT_EQ(view.toolMode(), ToolMode::Paste);
    ASSERT_NE(dynamic_cast<CPasteTool*>(view.tool()), nullptr);
    EXPECT_TRUE(SamePixels(doc.image(), original.dib()));
    // Paste is one step: undo brings back the cut image.
    view.onCommand(kIdEditUndo);
    EXPECT_EQ(PixelAt(doc.image(), 4, 4), kWhite);
}

TEST(SelectionCommands, PasteWithASelectionLandsAtItsCornerOnlyInsideIt) {
    ViewHarness harness(10, 8);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    PutUniformPicture(3, 3, kRed);

    FillMaskRect(doc.mask(), {4, 2, 5, 2}, 255);
    FillMaskRect(doc.mask(), {4, 3, 4, 6}, 255);
    ASSERT_TRUE(view.onCommand(kIdEditPaste));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool selected = ByteAt(doc.mask(), x, y) == 255;
            const bool covered = x >= 4 && x < 7 && y >= 2 && y < 5;
            EXPECT_EQ(PixelAt(doc.image(), x, y),
                      selected && covered ? kRed : CoordinateColour(x, y))
                << x << "," << y;
        }
}

TEST(SelectionCommands, PasteIsEnabledOnlyWhileTheClipboardOffersAPicture) {
    ViewHarness harness(4, 4);
    CMavView& view = harness.view();
    ASSERT_TRUE(view.onCommand(kIdLassoTool));
    CMouseTool* lasso = view.tool();
    QGuiApplication::clipboard()->setText(QStringLiteral("no picture"));
    EXPECT_FALSE(PasteEnabled(view));
    view.onCommand(kIdEditPaste);
    EXPECT_EQ(view.tool(), lasso) << "a paste without a picture changes nothing";
    EXPECT_FALSE(harness.doc().CanUndo());
    view.onCommand(kIdEditCopy);
    EXPECT_TRUE(PasteEnabled(view));
}

TEST(PasteTool, ADragMovesThePasteAsOneUndoStep) {
    ViewHarness harness(12, 8);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    PutUniformPicture(2, 2, Bgr{255, 0, 0});
    ASSERT_TRUE(view.onCommand(kIdEditPaste));
    ASSERT_EQ(PixelAt(doc.image(), 1, 1), (Bgr{255, 0, 0}));

    QTest::mousePress(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                      ClientPointOf(view, 1, 1));
    harness.moveMouse(ClientPointOf(view, 4, 2), Qt::LeftButton);
    harness.moveMouse(ClientPointOf(view, 6, 4), Qt::LeftButton);
    EXPECT_TRUE(harness.showsCursor(CursorId::Move));
    QTest::mouseRelease(harness.viewport(), Qt::LeftButton, Qt::NoModifier,
                        ClientPointOf(view, 6, 4));
    // The paste moved by (5, 3): at (5, 3)..(6, 4); the old place shows the image again.
    EXPECT_EQ(PixelAt(doc.image(), 5, 3), (Bgr{255, 0, 0}));
    EXPECT_EQ(PixelAt(doc.image(), 6, 4), (Bgr{255, 0, 0}));
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), CoordinateColour(0, 0));
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), CoordinateColour(1, 1));

    view.onCommand(kIdEditUndo);
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{255, 0, 0}));
    EXPECT_EQ(PixelAt(doc.image(), 5, 3), CoordinateColour(5, 3));
}

TEST(PasteTool, ArrowKeysMoveByOnePixelAppliedWhenTheKeyGoesUp) {
    ViewHarness harness(8, 6);
    CMavView& view = harness.view();
    CMavDoc& doc = harness.doc();
    PutUniformPicture(1, 1, Bgr{255, 0, 0});
    ASSERT_TRUE(view.onCommand(kIdEditPaste));
    auto* paste = dynamic_cast<CPasteTool*>(view.tool());
    ASSERT_NE(paste, nullptr);

    QTest::keyPress(harness.viewport(), Qt::Key_Right);
    EXPECT_EQ(paste->position(), (PixelPoint{1, 0}));
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), (Bgr{255, 0, 0})) << "applied only on key up";
    QTest::keyRelease(harness.viewport(), Qt::Key_Right);
    EXPECT_EQ(PixelAt(doc.image(), 0, 0), CoordinateColour(0, 0));
    EXPECT_EQ(PixelAt(doc.image(), 1, 0), (Bgr{255, 0, 0}));
    QTest::keyClick(harness.viewport(), Qt::Key_Down);
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), (Bgr{255, 0, 0}));
    QTest::keyClick(harness.viewport(), Qt::Key_A);
    EXPECT_EQ(paste->position(), (PixelPoint{1, 1}));

    // Another tool ends the paste where it was last applied.
    view.onCommand(kIdRectMarqueeTool);
    EXPECT_EQ(PixelAt(doc.image(), 1, 1), (Bgr{255, 0, 0}));
}

} // namespace
} // namespace halvera::testing
