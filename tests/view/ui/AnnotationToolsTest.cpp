#include "DialogDriving.h"
#include "PaintTestSupport.h"
#include "RecordingPrompts.h"
#include "ViewHarness.h"
#include "document/MavDoc.h"
#include "view/CommandIds.h"
#include "view/SignPalette.h"
#include "view/ui/ArrowSignTool.h"
#include "view/ui/PencilTool.h"
#include "view/ui/RulerSignTool.h"
#include "view/ui/SignSettingDlg.h"
#include "view/ui/TextTool.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <numbers>

namespace halvera::testing {
namespace {

constexpr Bgr kBlue{255, 0, 0};
constexpr Bgr kInk{10, 20, 30};

// A white document in a view, drawing in kInk with a brush of `size`.
class AnnotationTools : public ::testing::Test {
protected:
    AnnotationTools() {
        const CDibImage image = doc().image();
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width(); ++x)
                SetPixel(image, x, y, kWhite);
        settings().SignColor = static_cast<int>(RefOf(kInk));
        settings().PencilSize = 1;
    }

    CMavDoc& doc() { return harness_.doc(); }
    CMavView& view() { return harness_.view(); }
    AppSettings& settings() { return doc().settings(); }
    QPoint at(int x, int y) { return ClientPointOf(view(), x, y); }
    int steps() { return doc().undoHistory().count(); }

    void drag(std::initializer_list<QPoint> path) {
        QWidget* viewport = harness_.viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, *path.begin());
        for (const QPoint& p : path)
            harness_.moveMouse(p, Qt::LeftButton);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, *(path.end() - 1));
    }

    void click(QPoint p) { QTest::mouseClick(harness_.viewport(), Qt::LeftButton, {}, p); }
    void key(Qt::Key k) { QTest::keyClick(&view(), k); }

    int countOf(Bgr colour) {
        int n = 0;
        const CDibImage image = doc().image();
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width(); ++x)
                n += PixelAt(image, x, y) == colour;
        return n;
    }

    ViewHarness harness_{40, 30};
};

TEST_F(AnnotationTools, APencilStrokeIsOneUndoStep) {
    ASSERT_TRUE(view().onCommand(kIdPencilTool));
    EXPECT_EQ(view().toolMode(), ToolMode::Annotation);
    const int before = steps();
    drag({at(2, 2), at(6, 2), at(6, 8)});
    EXPECT_EQ(PixelAt(doc().image(), 2, 2), kInk);
    EXPECT_EQ(PixelAt(doc().image(), 4, 2), kInk);
    EXPECT_EQ(PixelAt(doc().image(), 6, 5), kInk);
    EXPECT_EQ(countOf(kInk), 11);
    EXPECT_EQ(steps(), before + 1);
    EXPECT_FALSE(static_cast<CPencilTool*>(view().tool())->stroking());
    ASSERT_TRUE(view().onCommand(kIdEditUndo));
    EXPECT_EQ(countOf(kInk), 0);
}

TEST_F(AnnotationTools, ArrowKeysChangeThePencilSizeWithinOneToHundred) {
    ASSERT_TRUE(view().onCommand(kIdPencilTool));
    key(Qt::Key_Down);
    EXPECT_EQ(settings().PencilSize, 1);
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(settings().PencilSize, 3);
    settings().PencilSize = 100;
    key(Qt::Key_Up);
    EXPECT_EQ(settings().PencilSize, 100);
}

TEST_F(AnnotationTools, TheEyedropperOnABluePixelMakesTheNextStrokeBlue) {
    SetPixel(doc().image(), 20, 20, kBlue);
    ASSERT_TRUE(view().onCommand(kIdEyedropperTool));
    EXPECT_EQ(view().toolMode(), ToolMode::Viewing);
    click(at(20, 20));
    EXPECT_EQ(settings().SignColor, 0xFF0000);
    ASSERT_TRUE(view().onCommand(kIdPencilTool));
    drag({at(2, 2), at(5, 2)});
    EXPECT_EQ(PixelAt(doc().image(), 3, 2), kBlue);
    EXPECT_EQ(countOf(kBlue), 5);
}

TEST_F(AnnotationTools, LinesRectanglesAndEllipsesPaintOnRelease) {
    ASSERT_TRUE(view().onCommand(kIdLineTool));
    const int before = steps();
    drag({at(1, 1), at(5, 3), at(9, 1)});
    EXPECT_EQ(countOf(kInk), 9); // from (1, 1) to the release point (9, 1)
    EXPECT_EQ(steps(), before + 1);

    ASSERT_TRUE(view().onCommand(kIdFilledRectangleTool));
    drag({at(12, 5), at(14, 7)});
    EXPECT_EQ(countOf(kInk), 9 + 9);
    ASSERT_TRUE(view().onCommand(kIdEllipseTool));
    drag({at(20, 10), at(30, 20)});
    EXPECT_EQ(PixelAt(doc().image(), 25, 10), kInk);
    EXPECT_EQ(PixelAt(doc().image(), 25, 15), kWhite);
    EXPECT_EQ(steps(), before + 3);
}

TEST_F(AnnotationTools, APolygonClosesOnDoubleClickAndOneVertexPaintsNothing) {
    ASSERT_TRUE(view().onCommand(kIdFilledPolygonTool));
    const int before = steps();
    QTest::mouseDClick(harness_.viewport(), Qt::LeftButton, {}, at(5, 5));
    EXPECT_EQ(steps(), before);
    EXPECT_EQ(countOf(kInk), 0);

    click(at(2, 2));
    click(at(12, 2));
    QTest::mouseClick(harness_.viewport(), Qt::LeftButton, {}, at(2, 12));
    QTest::mouseDClick(harness_.viewport(), Qt::LeftButton, {}, at(2, 12));
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(PixelAt(doc().image(), 4, 4), kInk);
    EXPECT_EQ(PixelAt(doc().image(), 11, 11), kWhite);
}

TEST_F(AnnotationTools, FillIsOneStepAndNothingOnAPixelOfTheFillColour) {
    ASSERT_TRUE(view().onCommand(kIdFillTool));
    const int before = steps();
    click(at(3, 3));
    EXPECT_EQ(countOf(kInk), 40 * 30);
    EXPECT_EQ(steps(), before + 1);
    click(at(3, 3));
    EXPECT_EQ(steps(), before + 1);
}

TEST_F(AnnotationTools, OnlyTheLastArrowStaysAndItCannotShrinkBelowEight) {
    settings().arrowSignSize = 9;
    ASSERT_TRUE(view().onCommand(kIdArrowSignTool));
    click(at(5, 10));
    const int first = countOf(kInk);
    EXPECT_GT(first, 0);
    click(at(5, 20));
    EXPECT_EQ(countOf(kInk), first);
    EXPECT_EQ(PixelAt(doc().image(), 7, 10), kWhite);
    EXPECT_EQ(PixelAt(doc().image(), 7, 20), kInk);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    auto* tool = dynamic_cast<CArrowSignTool*>(view().tool());
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->size(), 8);
    key(Qt::Key_Right);
    ASSERT_TRUE(view().onCommand(kIdPencilTool));
    // The size and angle outlive the tool.
    EXPECT_EQ(settings().arrowSignSize, 8);
    EXPECT_DOUBLE_EQ(settings().arrowSignAngle, std::numbers::pi / 4);
}

TEST_F(AnnotationTools, TheRulerSignIsOneStepForTheToolsWholeLife) {
    // 10 pixels per unit: 5 units are wider than the 40-pixel image.
    settings().xRealRulerData = 1.0;
    settings().xPixelRulerData = 10;
    const int before = steps();
    ASSERT_TRUE(view().onCommand(kIdRulerSignTool));
    auto* tool = dynamic_cast<CRulerSignTool*>(view().tool());
    ASSERT_NE(tool, nullptr);
    EXPECT_FALSE(tool->bar().available());
    click(at(5, 25));
    EXPECT_FALSE(tool->placed());
    ASSERT_TRUE(view().onCommand(kIdPencilTool));
    EXPECT_EQ(steps(), before); // nothing placed: no step

    ViewHarness wide(300, 40);
    wide.doc().settings().xRealRulerData = 1.0;
    wide.doc().settings().xPixelRulerData = 20;
    ASSERT_TRUE(wide.view().onCommand(kIdRulerSignTool));
    auto* ruler = dynamic_cast<CRulerSignTool*>(wide.view().tool());
    ASSERT_NE(ruler, nullptr);
    EXPECT_EQ(ruler->bar().pixels, 100);
    const int wideBefore = wide.doc().undoHistory().count();
    QTest::mouseClick(wide.viewport(), Qt::LeftButton, {}, ClientPointOf(wide.view(), 10, 30));
    EXPECT_TRUE(ruler->placed());
    // Drag the right end 21 pixels further: one more unit.
    QTest::mousePress(wide.viewport(), Qt::LeftButton, {}, ClientPointOf(wide.view(), 110, 30));
    wide.moveMouse(ClientPointOf(wide.view(), 131, 30), Qt::LeftButton);
    QTest::mouseRelease(wide.viewport(), Qt::LeftButton, {}, ClientPointOf(wide.view(), 131, 30));
    EXPECT_EQ(ruler->bar().units, 6);
    EXPECT_EQ(ruler->bar().pixels, 120);
    ASSERT_TRUE(wide.view().onCommand(kIdPencilTool));
    EXPECT_EQ(wide.doc().undoHistory().count(), wideBefore + 1);
}

TEST_F(AnnotationTools, SignSettingOkStoresAndCancelDoesNot) {
    settings().SignColor = static_cast<int>(SignPalette::Colour(3, 2));
    settings().PencilSize = 8;
    settings().MagicRange = 30;
    WithModalDialog([&] { RunSignSettingDialog(settings(), nullptr); },
                    [](QDialog& dialog) {
                        EXPECT_EQ(dialog.windowTitle(), "Sign setting");
                        auto* palette = Child<QWidget>(dialog, "palette");
                        // Swatch (4, 0) is blue.
                        QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(10 + 14 * 4 + 5, 15));
                        TypeInto(Child<QLineEdit>(dialog, "toolSizeBox"), "12");
                        TypeInto(Child<QLineEdit>(dialog, "toleranceBox"), "55");
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(settings().SignColor, 0xFF0000);
    EXPECT_EQ(settings().PencilSize, 12);
    EXPECT_EQ(settings().MagicRange, 55);

    WithModalDialog([&] { RunSignSettingDialog(settings(), nullptr); },
                    [](QDialog& dialog) {
                        QTest::mouseClick(Child<QWidget>(dialog, "palette"), Qt::LeftButton, {},
                                          QPoint(15, 15));
                        TypeInto(Child<QLineEdit>(dialog, "toolSizeBox"), "3");
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_EQ(settings().SignColor, 0xFF0000);
    EXPECT_EQ(settings().PencilSize, 12);
}

TEST_F(AnnotationTools, SignSettingHoldsTheBoxesToTheSliderRange) {
    WithModalDialog([&] { RunSignSettingDialog(settings(), nullptr); },
                    [&](QDialog& dialog) {
                        TypeInto(Child<QLineEdit>(dialog, "toleranceBox"), "101");
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(settings().MagicRange, 100);
}

TEST(SignPalette, FixedSwatchesThenHsvColoursAndTheFirstMatchIsCurrent) {
    EXPECT_EQ(SignPalette::Colour(0, 0), 0u);
    EXPECT_EQ(SignPalette::Colour(2, 0), 0x0000FFu); // red in the low byte
    EXPECT_EQ(SignPalette::Colour(7, 0), 0xFFFF00u); // cyan
    // Hue 0, saturation 60: (255, 195, 195).
    EXPECT_EQ(SignPalette::Colour(0, 1), MakeColourRef(255, 195, 195));
    EXPECT_EQ(SignPalette::IndexOf(0xFFFFFF), 1);
    EXPECT_EQ(SignPalette::IndexOf(SignPalette::Colour(5, 3)), 3 * 16 + 5);
    EXPECT_EQ(SignPalette::IndexOf(0x123456), 0);
}

TEST_F(AnnotationTools, TextIsPlacedThroughTheDialogAsAnUndoStepOfItsOwn) {
    settings().textAttributes.colour = RefOf(kInk);
    settings().textAttributes.height = -16;
    ASSERT_TRUE(view().onCommand(kIdTextTool));
    const int before = steps();
    WithModalDialog([&] { click(at(2, 2)); },
                    [](QDialog& dialog) {
                        EXPECT_EQ(dialog.windowTitle(), "Add text");
                        TypeInto(Child<QLineEdit>(dialog, "text"), "HV");
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    auto* tool = dynamic_cast<CTextTool*>(view().tool());
    ASSERT_NE(tool, nullptr);
    EXPECT_TRUE(tool->placed());
    EXPECT_EQ(doc().textSettings().text, "HV");
    EXPECT_GT(countOf(kInk), 10);
    EXPECT_EQ(steps(), before + 1);
    EXPECT_TRUE(doc().IsModified());
    // Only colours of the text or white: no smoothing.
    EXPECT_EQ(countOf(kInk) + countOf(kWhite), 40 * 30);
}

TEST_F(AnnotationTools, PlacedTextMovesUnderThePointerAndTheFontButtonRecolours) {
    ScopedRecordingPrompts prompts;
    TextAttributes blue = settings().textAttributes;
    blue.colour = RefOf(kBlue);
    blue.height = -14;
    prompts.textFonts.push_back(blue);
    settings().textAttributes.colour = RefOf(kInk);
    ASSERT_TRUE(view().onCommand(kIdTextTool));
    WithModalDialog([&] { click(at(1, 1)); },
                    [](QDialog& dialog) {
                        TypeInto(Child<QLineEdit>(dialog, "text"), "I");
                        Child<QPushButton>(dialog, "font")->click();
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(prompts.textFontRequests, 1);
    EXPECT_EQ(countOf(kInk), 0);
    const int painted = countOf(kBlue);
    EXPECT_GT(painted, 5);

    const TextSettings placed = doc().textSettings();
    const int width = placed.right - placed.left;
    const int height = placed.bottom - placed.top;
    drag({at(20, 15), at(25, 20)});
    EXPECT_EQ(doc().textSettings().left, 25 - width / 2);
    EXPECT_EQ(doc().textSettings().top, 20 - height * 3 / 5);
    // Only the text at its new place: the old one was put back from the working copy.
    EXPECT_EQ(countOf(kBlue), painted);
}

// The text is a step of its own: undoing the stroke before it no longer
// takes the text along, and Redo brings both back in order.
TEST_F(AnnotationTools, UndoAndRedoGoThroughTheStepBeforeATextAndTheTextItself) {
    settings().SignColor = static_cast<int>(RefOf(kBlue));
    ASSERT_TRUE(view().onCommand(kIdPencilTool));
    drag({at(1, 28), at(10, 28)});
    ASSERT_EQ(countOf(kBlue), 10);

    settings().textAttributes.colour = RefOf(kInk);
    settings().textAttributes.height = -12;
    ASSERT_TRUE(view().onCommand(kIdTextTool));
    WithModalDialog([&] { click(at(2, 2)); },
                    [](QDialog& dialog) {
                        TypeInto(Child<QLineEdit>(dialog, "text"), "HV");
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    const int text = countOf(kInk);
    ASSERT_GT(text, 10);

    ASSERT_TRUE(view().onCommand(kIdEditUndo));
    EXPECT_EQ(countOf(kInk), 0);
    EXPECT_EQ(countOf(kBlue), 10);
    ASSERT_TRUE(view().onCommand(kIdEditUndo));
    EXPECT_EQ(countOf(kBlue), 0);
    EXPECT_FALSE(doc().IsModified());

    ASSERT_TRUE(view().onCommand(kIdEditRedo));
    EXPECT_EQ(countOf(kBlue), 10);
    EXPECT_EQ(countOf(kInk), 0);
    ASSERT_TRUE(view().onCommand(kIdEditRedo));
    EXPECT_EQ(countOf(kInk), text);
    EXPECT_EQ(countOf(kBlue), 10);
}

TEST_F(AnnotationTools, EachMoveOfTheTextIsAStepAndACancelledTextLeavesNone) {
    settings().textAttributes.colour = RefOf(kInk);
    settings().textAttributes.height = -12;
    ASSERT_TRUE(view().onCommand(kIdTextTool));
    const int before = steps();
    WithModalDialog([&] { click(at(2, 2)); },
                    [](QDialog& dialog) {
                        TypeInto(Child<QLineEdit>(dialog, "text"), "L");
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_EQ(countOf(kInk), 0);
    EXPECT_EQ(steps(), before);
    EXPECT_FALSE(doc().IsModified());

    WithModalDialog([&] { click(at(2, 2)); },
                    [](QDialog& dialog) {
                        TypeInto(Child<QLineEdit>(dialog, "text"), "L");
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    ASSERT_EQ(steps(), before + 1);
    DibBlock placed;
    ASSERT_TRUE(CreateRgb(placed, 40, 30));
    CopyBlock(placed.dib(), doc().image());
    drag({at(20, 15), at(26, 18)});
    EXPECT_EQ(steps(), before + 2);
    EXPECT_FALSE(SamePixels(doc().image(), placed.dib()));
    drag({at(30, 20), at(32, 22)});
    EXPECT_EQ(steps(), before + 3);

    ASSERT_TRUE(view().onCommand(kIdEditUndo));
    ASSERT_TRUE(view().onCommand(kIdEditUndo));
    EXPECT_TRUE(SamePixels(doc().image(), placed.dib())) << "back where the dialog put it";
}

} // namespace
} // namespace halvera::testing
