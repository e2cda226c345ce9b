// The Brightness/Contrast, Color balance and Hue/Saturation dialogs and the
// view's processing commands, driven with real widgets, keys and clicks.
#include "DialogDriving.h"
#include "ViewStepTest.h"
#include "processing/ui/BrightnessContrastDlg.h"
#include "processing/ui/ColorBalanceDlg.h"
#include "processing/ui/HueSaturationDlg.h"
#include "processing/ui/ProcessingViewCommands.h"
#include "view/CommandIds.h"
#include "view/ui/SliderWithBox.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

constexpr Bgr kRed{0, 0, 255};

QSlider* Slider(QWidget& dialog, const char* name) {
    return Child<QSlider>(dialog, name);
}

QLineEdit* Box(QWidget& dialog, const char* name) {
    return Child<QLineEdit>(dialog, (std::string(name) + "Box").c_str());
}

void PressKey(QSlider* slider, Qt::Key key) {
    slider->setFocus();
    QTest::keyClick(slider, key);
}

// A click at the slider's right end: with the slider at its maximum the
// position stays where it is, and the mouse lets go of the slider.
void ClickRightEnd(QSlider* slider) {
    QTest::mouseClick(slider, Qt::LeftButton, {},
                      QPoint(slider->width() - 2, slider->height() / 2));
}

class AdjustmentDialogs : public ViewStepTest {
protected:
    // Red on the left half, greys 10 x + y + 1 on the right. Grey levels:
    // 48 x 76 + 4296 = 7944, so the mean grey (divided by the count plus one)
    // is 7944 / 97 = 81.
    void SetUp() override {
        StartWith([](int x, int y) { return x < 6 ? kRed : Grey(uint8_t(10 * x + y + 1)); });
    }

    void SelectColumnsFrom(int first) {
        for (int y = 0; y < 8; ++y)
            for (int x = first; x < 12; ++x)
                SetByte(doc().mask(), x, y, 255);
    }
};

TEST_F(AdjustmentDialogs, EachDialogHasItsTitleSlidersAndBoxes) {
    struct Expected {
        const char* name;
        int range;
        int tick;
    };
    auto check = [](QDialog& dialog, const char* title, std::vector<Expected> sliders) {
        EXPECT_EQ(dialog.windowTitle(), title);
        for (const Expected& e : sliders) {
            QSlider* slider = Slider(dialog, e.name);
            EXPECT_EQ(slider->minimum(), -e.range) << e.name;
            EXPECT_EQ(slider->maximum(), e.range) << e.name;
            EXPECT_EQ(slider->tickInterval(), e.tick) << e.name;
            EXPECT_EQ(slider->value(), 0) << e.name;
            EXPECT_EQ(Box(dialog, e.name)->maxLength(), 4) << e.name;
            EXPECT_EQ(Box(dialog, e.name)->text(), "0") << e.name;
        }
    };
    doc().CopyToWorking();
    using Texts = std::vector<std::string>;
    CBrightnessContrastDlg brightness(doc(), [] {});
    check(brightness, "Brightness/Contrast", {{"brightness", 100, 20}, {"contrast", 100, 20}});
    EXPECT_EQ(LabelTexts(brightness), (Texts{"Brightness", "Contrast"}));
    EXPECT_EQ(brightness.meanGray(), 81u);
    CColorBalanceDlg balance(doc(), [] {});
    check(balance, "Color balance",
          {{"cyanRed", 100, 20}, {"magentaGreen", 100, 20}, {"yellowBlue", 100, 20}});
    EXPECT_EQ(LabelTexts(balance), (Texts{"C/R", "M/G", "Y/B"}));
    EXPECT_EQ(balance.findChild<QGroupBox*>()->title(), "RGB/CMY");
    CHueSaturationDlg hue(doc(), [] {});
    check(hue, "Hue/Saturation",
          {{"hue", 180, 60}, {"saturation", 100, 20}, {"brightness", 100, 20}});
    EXPECT_EQ(LabelTexts(hue), (Texts{"Hue", "Saturation", "Brightness"}));
    EXPECT_EQ(hue.findChild<QGroupBox*>()->title(), "HSB");
}

TEST_F(AdjustmentDialogs, ContrastStretchesAboutTheMeanGreyOfTheSelection) {
    // Greys 91..118 in columns 9..11: 2508 / (24 + 1) = 100.
    SelectColumnsFrom(9);
    WithModalDialog([&] { BrightnessContrastCommand(view()); },
                    [&](QDialog& dialog) {
                        EXPECT_EQ(static_cast<CBrightnessContrastDlg&>(dialog).meanGray(), 100u);
                        PressKey(Slider(dialog, "contrast"), Qt::Key_End);
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(PixelAt(image(), 9, 0), Grey(0));    // level 91
    EXPECT_EQ(PixelAt(image(), 10, 0), Grey(255)); // level 101
    EXPECT_EQ(PixelAt(image(), 8, 7), Grey(88));
}

TEST_F(AdjustmentDialogs, OkWithNothingMovedLeavesEveryPixel) {
    const std::vector<std::function<void(CMavView&)>> commands = {
        BrightnessContrastCommand, ColorBalanceCommand, HueSaturationCommand};
    for (const auto& command : commands) {
        WithModalDialog([&] { command(view()); },
                        [](QDialog& dialog) { Press(dialog, QDialogButtonBox::Ok); });
        EXPECT_TRUE(SamePixels(image(), before.dib()));
    }
}

TEST_F(AdjustmentDialogs, BrightnessPreviewThenCancelRestoresImageAndHistory) {
    WithModalDialog([&] { BrightnessContrastCommand(view()); },
                    [&](QDialog& dialog) {
                        PressKey(Slider(dialog, "brightness"), Qt::Key_End);
                        EXPECT_EQ(Box(dialog, "brightness")->text(), "100");
                        EXPECT_EQ(PixelAt(image(), 0, 0), Grey(255));
                        EXPECT_EQ(PixelAt(image(), 11, 7), Grey(255));
                        PressKey(Slider(dialog, "contrast"), Qt::Key_Home); // -100: black,
                        EXPECT_EQ(PixelAt(image(), 8, 0), Grey(255));       // then +255
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_TRUE(SamePixels(image(), before.dib()));
    ExpectHistoryOfOneStep();
}

TEST_F(AdjustmentDialogs, BrightnessContrastOkKeepsTheLastPreview) {
    WithModalDialog([&] { BrightnessContrastCommand(view()); },
                    [&](QDialog& dialog) {
                        // Contrast 100 thresholds at the mean 81; brightness
                        // -10 then takes 25 off.
                        TypeInto(Box(dialog, "contrast"), "100");
                        TypeInto(Box(dialog, "brightness"), "-10");
                        EXPECT_EQ(Slider(dialog, "brightness")->value(), -10);
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(PixelAt(image(), 8, 0), Grey(0));   // level 81
    EXPECT_EQ(PixelAt(image(), 8, 1), Grey(230)); // level 82
    EXPECT_EQ(PixelAt(image(), 0, 0), (Bgr{0, 0, 230}));
    ASSERT_TRUE(doc().CanUndo());
    doc().Undo();
    EXPECT_TRUE(SamePixels(image(), before.dib()));
}

TEST_F(AdjustmentDialogs, ASelectionProtectsUnselectedPixelsThroughPreviewsAndCancel) {
    SelectColumnsFrom(9);
    WithModalDialog([&] { ColorBalanceCommand(view()); },
                    [&](QDialog& dialog) {
                        PressKey(Slider(dialog, "magentaGreen"), Qt::Key_End);
                        PressKey(Slider(dialog, "yellowBlue"), Qt::Key_PageUp); // +20: 51
                        EXPECT_EQ(PixelAt(image(), 9, 0), (Bgr{142, 255, 91}));
                        EXPECT_EQ(PixelAt(image(), 8, 0), Grey(81));
                        EXPECT_EQ(PixelAt(image(), 0, 0), kRed);
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_TRUE(SamePixels(image(), before.dib()));
    ExpectHistoryOfOneStep();
}

TEST_F(AdjustmentDialogs, ColorBalanceOkKeepsTheLastPreview) {
    WithModalDialog([&] { ColorBalanceCommand(view()); },
                    [&](QDialog& dialog) {
                        PressKey(Slider(dialog, "cyanRed"), Qt::Key_End);
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(PixelAt(image(), 8, 0), (Bgr{81, 81, 255}));
    EXPECT_EQ(PixelAt(image(), 0, 0), kRed);
}

TEST_F(AdjustmentDialogs, HueSaturationPreviewsOnlyWhenTheMouseLetsGo) {
    WithModalDialog([&] { HueSaturationCommand(view()); },
                    [&](QDialog& dialog) {
                        QSlider* hue = Slider(dialog, "hue");
                        PressKey(hue, Qt::Key_End);
                        EXPECT_EQ(Box(dialog, "hue")->text(), "180");
                        EXPECT_EQ(PixelAt(image(), 0, 0), kRed);
                        ClickRightEnd(hue);
                        EXPECT_EQ(hue->value(), 180);
                        EXPECT_EQ(PixelAt(image(), 0, 0), (Bgr{255, 255, 0})); // cyan
                        Press(dialog, QDialogButtonBox::Cancel);
                    });
    EXPECT_TRUE(SamePixels(image(), before.dib()));
    ExpectHistoryOfOneStep();
}

TEST_F(AdjustmentDialogs, HueSaturationOkBringsTheImageUpToTheValuesShown) {
    SelectColumnsFrom(3);
    WithModalDialog([&] { HueSaturationCommand(view()); },
                    [&](QDialog& dialog) {
                        TypeInto(Box(dialog, "hue"), "120");
                        EXPECT_EQ(PixelAt(image(), 3, 0), kRed);
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(PixelAt(image(), 3, 0), (Bgr{0, 255, 0}));
    EXPECT_EQ(PixelAt(image(), 2, 0), kRed);
    EXPECT_EQ(PixelAt(image(), 8, 0), Grey(81));
}

TEST_F(AdjustmentDialogs, TypingMovesTheSliderWithinItsRange) {
    doc().CopyToWorking();
    CColorBalanceDlg dialog(doc(), [] {});
    dialog.show();
    QSlider* slider = Slider(dialog, "cyanRed");
    QLineEdit* box = Box(dialog, "cyanRed");
    TypeInto(box, "-");
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(box->text(), "-");
    QTest::keyClicks(box, "40");
    EXPECT_EQ(slider->value(), -40);
    EXPECT_EQ(box->text(), "-40");
    TypeInto(box, "150");
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(box->text(), "100");
    TypeInto(box, "7x");
    EXPECT_EQ(slider->value(), 7);
    QTest::keyClick(box, Qt::Key_Return); // editing ends: the box shows the slider
    EXPECT_EQ(box->text(), "7");
    EXPECT_EQ(PixelAt(image(), 8, 0), (Bgr{81, 81, 98})); // red + 17
}

TEST(SliderWithBox, ReadsTheNumberTheTextStartsWith) {
    EXPECT_EQ(CSliderWithBox::LeadingNumber("42"), 42);
    EXPECT_EQ(CSliderWithBox::LeadingNumber(" -17abc"), -17);
    EXPECT_EQ(CSliderWithBox::LeadingNumber("+5"), 5);
    EXPECT_EQ(CSliderWithBox::LeadingNumber("abc"), 0);
    EXPECT_EQ(CSliderWithBox::LeadingNumber(""), 0);
    EXPECT_EQ(CSliderWithBox::LeadingNumber("-"), 0);
}

class ProcessingMenuCommands : public AdjustmentDialogs {};

TEST_F(ProcessingMenuCommands, InvertAndGrayscaleAreUndoableSteps) {
    ASSERT_TRUE(view().onCommand(kIdInvert));
    EXPECT_EQ(PixelAt(image(), 0, 0), (Bgr{255, 255, 0}));
    ASSERT_TRUE(view().onCommand(kIdGrayscale));
    EXPECT_EQ(PixelAt(image(), 0, 0), Grey(178)); // (59 + 11) x 255 / 100
    EXPECT_EQ(prompts.waitCursorBegins, 0);
    doc().Undo();
    doc().Undo();
    EXPECT_TRUE(SamePixels(image(), before.dib()));
}

TEST_F(ProcessingMenuCommands, EveryFilterRunsFromTheWorkingCopyUnderTheSelection) {
    SelectColumnsFrom(7);
    const int filters[] = {kIdSmoothAverage,  kIdSmoothMedian, kIdSmoothLowPass, kIdEdgeRoberts,
                           kIdEdgeSobel,      kIdEdgeLaplace,  kIdEdgeKirsch,    kIdEdgePrewitt,
                           kIdEdgeHorizontal, kIdEdgeVertical, kIdEdgeUpRight,   kIdEdgeDownLeft};
    for (const int id : filters) {
        ASSERT_TRUE(view().onCommand(id)) << id;
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(PixelAt(image(), 6, y), PixelAt(before.dib(), 6, y)) << id;
        doc().Undo();
        EXPECT_TRUE(SamePixels(image(), before.dib())) << id;
    }
    // Roberts and Kirsch run without the wait cursor.
    EXPECT_EQ(prompts.waitCursorBegins, 10);
    EXPECT_EQ(prompts.waitCursorEnds, 10);
}

TEST_F(ProcessingMenuCommands, ASingleBrightPixelThroughLaplace) {
    view().runImageCommand([](const CDibImage& image, const CDibImage&, const CDibImage&) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width(); ++x)
                SetPixel(image, x, y, Grey(x == 4 && y == 4 ? 255 : 0));
    });
    ASSERT_TRUE(view().onCommand(kIdEdgeLaplace));
    EXPECT_EQ(PixelAt(image(), 4, 4), Grey(0));
    EXPECT_EQ(PixelAt(image(), 4, 3), Grey(255));
    EXPECT_EQ(PixelAt(image(), 5, 4), Grey(255));
    EXPECT_EQ(PixelAt(image(), 5, 5), Grey(0));
}

} // namespace
} // namespace halvera::testing
