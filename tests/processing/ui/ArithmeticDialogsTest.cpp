// The "Calculation" and "Shade correction" dialogs and the view's arithmetic
// and shade-correction commands, driven with real widgets and key presses.
#include "DialogDriving.h"
#include "ShellFixture.h"
#include "ViewStepTest.h"
#include "document/ImageCommand.h"
#include "image/BmpFile.h"
#include "processing/ShadeCorrectPolynomial.h"
#include "processing/ui/ArithmeticCommands.h"
#include "processing/ui/CalculationDialog.h"
#include "processing/ui/ShadeCorrectionDialog.h"
#include "view/CommandIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace halvera::testing {
namespace {

// Selects `index` in a combo the way a user does from the keyboard.
void ChooseByKeys(QComboBox* combo, int index) {
    combo->setFocus();
    while (combo->currentIndex() < index)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index)
        QTest::keyClick(combo, Qt::Key_Up);
}

class ArithmeticDialogs : public ViewStepTest {
protected:
    void SetUp() override {
        StartWith([](int x, int y) { return Grey(uint8_t(10 * x + y + 1)); });
    }
};

TEST_F(ArithmeticDialogs, CancelAfterSeveralPreviewsRestoresImageAndHistory) {
    WithModalDialog([&] { ArithmeticCommand(view()); },
                    [&](QDialog& dialog) {
                        // Sub of the image and its own copy: black.
                        ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 12);
                        EXPECT_EQ(PixelAt(image(), 5, 5), Grey(0));
                        // Not: every non-zero channel turns 0.
                        ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 6);
                        EXPECT_EQ(PixelAt(image(), 5, 5), Grey(0));
                        // Green from red, Add at 100: unchanged for a grey image.
                        ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 0);
                        ChooseByKeys(Child<QComboBox>(dialog, "outputChannel"), 2);
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_TRUE(SamePixels(image(), before.dib()));
    EXPECT_TRUE(prompts.messages.empty());
    ExpectHistoryOfOneStep();
}

TEST_F(ArithmeticDialogs, CalculationHasItsControlsAndTexts) {
    using Texts = std::vector<std::string>;
    doc().setTitle("HLV 3");
    doc().CopyToWorking();
    CCalculationDialog dialog(doc(), {&doc()}, {});
    EXPECT_EQ(dialog.windowTitle(), "Calculation");
    EXPECT_EQ(LabelTexts(dialog), (Texts{"Output", "Channel", "Input", "Channel", "Calculate",
                                         "Transparency", "%", "X Shift", "Y Shift"}));
    EXPECT_EQ(ComboTexts(Child<QComboBox>(dialog, "output")), Texts{"HLV 3"});
    const Texts channels{"RGB", "R", "G", "B"};
    EXPECT_EQ(ComboTexts(Child<QComboBox>(dialog, "outputChannel")), channels);
    EXPECT_EQ(ComboTexts(Child<QComboBox>(dialog, "inputChannel")), channels);
    EXPECT_EQ(ComboTexts(Child<QComboBox>(dialog, "calculate")),
              (Texts{"Add(A = A + B)", "Minus(A = A - B)", "Multiply(A = A * B)",
                     "Divide(A = A / B)", "And(A = A and B)", "Or(A = A or B)", "Not(A = !A)",
                     "Xor(A = A xor B)", "And Not(A = !(A and B))", "Or And(A = !(A or B))",
                     "Max(A = max (A, B))", "Min(A = min(A, B))", "Sub(A = abs(A - B))",
                     "Feature And(A = A and F(B))", "Mask And(A = A and M(B))"}));
    for (const char* combo : {"output", "outputChannel", "input", "inputChannel", "calculate"})
        EXPECT_EQ(Child<QComboBox>(dialog, combo)->currentIndex(), 0) << combo;
    EXPECT_EQ(Child<QCheckBox>(dialog, "roi")->text(), "ROI");
    EXPECT_FALSE(Child<QCheckBox>(dialog, "roi")->isChecked());
    EXPECT_EQ(Child<QLineEdit>(dialog, "transparency")->text(), "100");
    EXPECT_EQ(Child<QLineEdit>(dialog, "xShift")->text(), "0");
    EXPECT_EQ(Child<QLineEdit>(dialog, "yShift")->text(), "0");
}

TEST_F(ArithmeticDialogs, OkKeepsTheLastPreviewEvenAfterTheTransparencyIsEdited) {
    WithModalDialog([&] { ArithmeticCommand(view()); },
                    [&](QDialog& dialog) {
                        ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 12); // Sub: black
                        // At 50 % Sub would give a - a div 2; it is not previewed.
                        TypeInto(Child<QLineEdit>(dialog, "transparency"), "50");
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(PixelAt(image(), 5, 5), Grey(0));
    EXPECT_EQ(PixelAt(image(), 11, 7), Grey(0));
    ASSERT_TRUE(doc().CanUndo());
    doc().Undo();
    EXPECT_TRUE(SamePixels(image(), before.dib()));
}

TEST_F(ArithmeticDialogs, EditsAreReadAtTheNextComboChange) {
    doc().CopyToWorking();
    CCalculationDialog dialog(doc(), {&doc()}, {});
    EXPECT_TRUE(SamePixels(image(), before.dib())); // Add at 100 with itself

    // 150 is set back to 100; Minus of the image and itself at 100: black.
    TypeInto(Child<QLineEdit>(dialog, "transparency"), "150");
    ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 1);
    EXPECT_EQ(Child<QLineEdit>(dialog, "transparency")->text(), "100");
    EXPECT_EQ(PixelAt(image(), 4, 3), Grey(0));

    // A word where a number belongs: the framework's message and no preview.
    TypeInto(Child<QLineEdit>(dialog, "xShift"), "two");
    ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 0);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Please enter an integer."});
    EXPECT_EQ(PixelAt(image(), 4, 3), Grey(0));
    EXPECT_EQ(dialog.settings().operation, ArithmeticOperation::Minus);

    // A shift out of range, then a good one: B moves right by 2, so Sub
    // meets (x, y) with (x - 2, y): 20 apart, and the first two columns stay.
    TypeInto(Child<QLineEdit>(dialog, "xShift"), "1025");
    ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 12);
    EXPECT_EQ(prompts.texts().back(), "Please enter an integer between -1024 and 1024.");
    TypeInto(Child<QLineEdit>(dialog, "xShift"), "2");
    ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 11);
    ChooseByKeys(Child<QComboBox>(dialog, "calculate"), 12);
    EXPECT_EQ(PixelAt(image(), 4, 3), Grey(20));
    EXPECT_EQ(PixelAt(image(), 1, 3), PixelAt(before.dib(), 1, 3));
}

TEST_F(ArithmeticDialogs, InputListsEveryOpenImageAndCombinesWithTheChosenOne) {
    AppSettings settings;
    settings.ImageWidth = 6;
    settings.ImageHeight = 4;
    CMavDoc white(settings); // a new image is white
    ASSERT_TRUE(white.OnNewDocument());
    white.setTitle("HLV 7");
    doc().setTitle("HLV 6");
    doc().CopyToWorking();
    CCalculationDialog dialog(doc(), {&white, &doc()}, {});
    QComboBox* input = Child<QComboBox>(dialog, "input");
    ASSERT_EQ(input->count(), 2);
    EXPECT_EQ(input->itemText(0), "HLV 7");
    EXPECT_EQ(input->itemText(1), "HLV 6");
    EXPECT_EQ(Child<QComboBox>(dialog, "output")->itemText(0), "HLV 6");
    // The first entry is previewed at once: Add at 100 copies the white
    // image into the 6 x 4 overlap.
    EXPECT_EQ(PixelAt(image(), 5, 3), Grey(255));
    EXPECT_EQ(PixelAt(image(), 6, 3), PixelAt(before.dib(), 6, 3));
    ChooseByKeys(input, 1);
    EXPECT_TRUE(SamePixels(image(), before.dib()));
}

// The Arithmetic command as the application runs it: the Input combo lists
// every open image in the order they were opened, whichever is active.
class ArithmeticInTheApplication : public ShellTest {};

TEST_F(ArithmeticInTheApplication, InputListsTheOpenImagesInTheApplicationsOrder) {
    CChildFrame* first = newImage(16, 8);
    CChildFrame* small = newImage(8, 4);
    CChildFrame* last = newImage(16, 8);
    frame().mdiArea()->setActiveSubWindow(small);
    settle();
    ASSERT_EQ(frame().activeDocumentWindow(), small);
    CMavDoc& active = small->document();
    // Black, so that Add at 100 shows which image was chosen.
    RunImageCommand(active, false, [&] {
        std::fill(active.image().bits, active.image().end, uint8_t{0});
        return true;
    });

    WithModalDialog([&] { frame().router().dispatch(kIdArithmetic); },
                    [&](QDialog& dialog) {
                        QComboBox* input = Child<QComboBox>(dialog, "input");
                        ASSERT_EQ(input->count(), 3);
                        EXPECT_EQ(input->itemText(0).toStdString(), first->document().title());
                        EXPECT_EQ(input->itemText(1).toStdString(), active.title());
                        EXPECT_EQ(input->itemText(2).toStdString(), last->document().title());
                        EXPECT_EQ(Child<QComboBox>(dialog, "output")->itemText(0).toStdString(),
                                  active.title());
                        // The first entry, a white image, is previewed at once.
                        EXPECT_EQ(PixelAt(active.image(), 7, 3), Grey(255));
                        ChooseByKeys(input, 1); // the image's own copy: black
                        EXPECT_EQ(PixelAt(active.image(), 7, 3), Grey(0));
                        ChooseByKeys(input, 2);
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(PixelAt(active.image(), 0, 0), Grey(255));
    EXPECT_EQ(PixelAt(first->document().image(), 0, 0), Grey(255));
}

// ---- Shade correction dialog ----

class ShadeDialog : public ArithmeticDialogs {
protected:
    std::string ReferencePath(const char* name) {
        const auto path = std::filesystem::temp_directory_path() /
                          ("halvera-shade-" + std::to_string(::getpid()) + "-" + name);
        files.push_back(path);
        return path.string();
    }
    void TearDown() override {
        for (const auto& path : files)
            std::filesystem::remove(path);
    }
    std::vector<std::filesystem::path> files;
};

TEST_F(ShadeDialog, HasItsControlsAndTexts) {
    doc().CopyToWorking();
    CShadeCorrectionDialog dialog(doc(), {});
    EXPECT_EQ(dialog.windowTitle(), "Shade correction");
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), "Data");
    QSlider* slider = Child<QSlider>(dialog, "level");
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 255);
    EXPECT_EQ(slider->tickInterval(), 16);
    EXPECT_EQ(slider->value(), 128);
    EXPECT_EQ(Child<QLineEdit>(dialog, "levelEdit")->text(), "128");
    EXPECT_EQ(Child<QCheckBox>(dialog, "roi")->text(), "ROI");
    EXPECT_FALSE(Child<QCheckBox>(dialog, "roi")->isChecked());
    EXPECT_EQ(Child<QPushButton>(dialog, "load")->text(), "Load");
    EXPECT_FALSE(dialog.referenceLoaded());
}

TEST_F(ShadeDialog, TheSliderWithoutAReferenceChangesNothing) {
    WithModalDialog([&] { FieldShadeCorrectionCommand(view()); },
                    [&](QDialog& dialog) {
                        QSlider* slider = Child<QSlider>(dialog, "level");
                        EXPECT_EQ(slider->value(), 128);
                        slider->setFocus();
                        QTest::keyClick(slider, Qt::Key_PageUp);
                        EXPECT_NE(slider->value(), 128);
                        EXPECT_EQ(Child<QLineEdit>(dialog, "levelEdit")->text().toInt(),
                                  slider->value());
                        EXPECT_TRUE(SamePixels(image(), before.dib()));
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_TRUE(SamePixels(image(), before.dib()));
}

TEST_F(ShadeDialog, LoadPreviewsAndTheRoiBoxRecomputesFromTheWorkingCopy) {
    // The image itself as reference: level 128 gives 128 everywhere.
    const std::string reference = ReferencePath("field.ref");
    ASSERT_TRUE(CBmpFile().WriteReference(reference, image()));
    // Selected: the left half.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            SetByte(doc().mask(), x, y, x < 6 ? 255 : 0);

    WithModalDialog([&] { FieldShadeCorrectionCommand(view()); },
                    [&](QDialog& dialog) {
                        prompts.fileNames.push_back(reference);
                        QTest::mouseClick(Child<QPushButton>(dialog, "load"), Qt::LeftButton);
                        EXPECT_EQ(PixelAt(image(), 9, 5), Grey(128));

                        QCheckBox* roi = Child<QCheckBox>(dialog, "roi");
                        QTest::mouseClick(roi, Qt::LeftButton);
                        EXPECT_EQ(PixelAt(image(), 2, 5), Grey(128));
                        EXPECT_EQ(PixelAt(image(), 9, 5), PixelAt(before.dib(), 9, 5));

                        // Typing a level takes effect at the next slider notification.
                        TypeInto(Child<QLineEdit>(dialog, "levelEdit"), "64");
                        QTest::keyClick(Child<QLineEdit>(dialog, "levelEdit"), Qt::Key_Tab);
                        EXPECT_EQ(Child<QSlider>(dialog, "level")->value(), 64);
                        EXPECT_EQ(PixelAt(image(), 2, 5), Grey(128));
                        QTest::mouseClick(roi, Qt::LeftButton); // off: the whole image
                        EXPECT_EQ(PixelAt(image(), 2, 5), Grey(64));
                        EXPECT_EQ(PixelAt(image(), 9, 5), Grey(64));
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_TRUE(SamePixels(image(), before.dib()));
    ExpectHistoryOfOneStep();
}

TEST_F(ShadeDialog, AnOrdinaryBmpFileIsNoReference) {
    const std::string bmp = ReferencePath("plain.ref");
    ASSERT_TRUE(CBmpFile().Write(bmp, image()));
    doc().CopyToWorking();
    CShadeCorrectionDialog dialog(doc(), {});
    prompts.fileNames.push_back(bmp);
    QTest::mouseClick(Child<QPushButton>(dialog, "load"), Qt::LeftButton);
    EXPECT_FALSE(dialog.referenceLoaded());
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Can not read the file!"});
    EXPECT_TRUE(SamePixels(image(), before.dib()));
}

// ---- automatic corrections and the reference file ----

TEST_F(ArithmeticDialogs, AutomaticCorrectionsAreUndoableImageCommands) {
    ShadeMorphological9Command(view());
    EXPECT_FALSE(SamePixels(image(), before.dib()));
    EXPECT_EQ(prompts.waitCursorBegins, 1);
    doc().Undo();
    EXPECT_TRUE(SamePixels(image(), before.dib()));

    // 12 x 8 pixels are too few for the polynomial fit.
    doc().Redo();
    const DibBlock corrected = CopyOf(image());
    ShadePolynomialCommand(view());
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{std::string(kNoBackgroundFitMessage)});
    EXPECT_TRUE(SamePixels(image(), corrected.dib()));
    EXPECT_FALSE(doc().CanRedo());
    doc().Undo();
    EXPECT_TRUE(SamePixels(image(), before.dib()));
}

TEST_F(ShadeDialog, ReferenceImageCommandWritesTheImageWithoutAStep) {
    const std::string path = ReferencePath("saved.ref");
    prompts.fileNames.push_back(path);
    ReferenceImageCommand(view());
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].proposedName, "Reference");
    EXPECT_TRUE(std::filesystem::exists(path));
    doc().Undo(); // the only step is SetUp's
    EXPECT_FALSE(doc().CanUndo());
}

} // namespace
} // namespace halvera::testing
