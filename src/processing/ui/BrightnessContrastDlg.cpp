#include "processing/ui/BrightnessContrastDlg.h"

#include "document/MavDoc.h"
#include "processing/ApplyBrightness.h"
#include "processing/ApplyContrast.h"
#include "processing/MeanGray.h"
#include "processing/ui/AdjustmentDialogLayout.h"
#include "view/ui/SliderWithBox.h"

namespace halvera {

CBrightnessContrastDlg::CBrightnessContrastDlg(CMavDoc& doc, std::function<void()> repaint,
                                               QWidget* parent)
    : QDialog(parent), image_(doc.image()), working_(doc.working()), mask_(doc.mask()),
      repaint_(std::move(repaint)), mean_(MeanGray(working_, mask_).value_or(0)) {
    setWindowTitle(QStringLiteral("Brightness/Contrast"));
    AdjustmentDialogLayout layout(*this, QString());
    CSliderWithBox* brightness =
        layout.addSlider(QStringLiteral("Brightness"), QStringLiteral("brightness"), -100, 100, 20);
    CSliderWithBox* contrast =
        layout.addSlider(QStringLiteral("Contrast"), QStringLiteral("contrast"), -100, 100, 20);
    layout.addButtons();
    connect(brightness, &CSliderWithBox::valueChanged, this, &CBrightnessContrastDlg::OnBrightness);
    connect(contrast, &CSliderWithBox::valueChanged, this, &CBrightnessContrastDlg::OnContrast);
}

void CBrightnessContrastDlg::OnBrightness(int percent) {
    if (ApplyBrightness(tables_, image_, working_, mask_, percent))
        repaint_();
}

void CBrightnessContrastDlg::OnContrast(int percent) {
    if (ApplyContrast(tables_, image_, working_, mask_, mean_, percent))
        repaint_();
}

} // namespace halvera
