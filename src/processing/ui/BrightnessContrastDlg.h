#pragma once

#include "image/DibImage.h"
#include "processing/BrightnessContrastTables.h"

#include <QDialog>
#include <cstdint>
#include <functional>

namespace halvera {

class CMavDoc;
class CSliderWithBox;

// "Brightness/Contrast": two sliders of -100..100 (ticks every 20), each with
// a number box. Every move of either slider recomputes the whole adjustment
// from the working copy into the image (only selected pixels when there is a
// selection) and asks for a repaint; contrast stretches about the mean grey
// level of the working copy, taken when the dialog opens. OK keeps the image
// as last previewed; restoring it on Cancel is the caller's (the view's
// dialog command).
//
// Controls are named "brightness" and "contrast", boxes "brightnessBox" and
// "contrastBox", for tests.
class CBrightnessContrastDlg : public QDialog {
    Q_OBJECT
public:
    CBrightnessContrastDlg(CMavDoc& doc, std::function<void()> repaint, QWidget* parent = nullptr);

    uint32_t meanGray() const { return mean_; }

private:
    void OnBrightness(int percent);
    void OnContrast(int percent);

    CDibImage image_;
    CDibImage working_;
    CDibImage mask_;
    std::function<void()> repaint_;
    BrightnessContrastTables tables_;
    uint32_t mean_ = 0;
};

} // namespace halvera
