#pragma once

#include "image/DibImage.h"

#include <QDialog>
#include <functional>

namespace halvera {

class CMavDoc;
class CSliderWithBox;

// "Color balance": three sliders of -100..100 (ticks every 20) in the group
// "RGB/CMY", C/R, M/G and Y/B, each with a number box. Every move of a slider
// recomputes the balance of all three from the working copy into the image
// (only selected pixels when there is a selection) and asks for a repaint.
// OK keeps the image as last previewed; restoring it on Cancel is the
// caller's.
//
// Controls are named "cyanRed", "magentaGreen" and "yellowBlue", boxes with
// "Box" appended, for tests.
class CColorBalanceDlg : public QDialog {
    Q_OBJECT
public:
    CColorBalanceDlg(CMavDoc& doc, std::function<void()> repaint, QWidget* parent = nullptr);

private:
    void Preview();

    CMavDoc& doc_;
    std::function<void()> repaint_;
    CSliderWithBox* cyanRed_;
    CSliderWithBox* magentaGreen_;
    CSliderWithBox* yellowBlue_;
};

} // namespace halvera
