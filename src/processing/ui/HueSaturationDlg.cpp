#include "processing/ui/HueSaturationDlg.h"

#include "document/MavDoc.h"
#include "processing/ApplyHueSaturation.h"
#include "processing/ClampTable.h"
#include "processing/ui/AdjustmentDialogLayout.h"
#include "view/ui/SliderWithBox.h"

namespace halvera {

CHueSaturationDlg::CHueSaturationDlg(CMavDoc& doc, std::function<void()> repaint, QWidget* parent)
    : QDialog(parent), doc_(doc), repaint_(std::move(repaint)) {
    setWindowTitle(QStringLiteral("Hue/Saturation"));
    AdjustmentDialogLayout layout(*this, QStringLiteral("HSB"));
    hue_ = layout.addSlider(QStringLiteral("Hue"), QStringLiteral("hue"), -180, 180, 60);
    saturation_ =
        layout.addSlider(QStringLiteral("Saturation"), QStringLiteral("saturation"), -100, 100, 20);
    brightness_ =
        layout.addSlider(QStringLiteral("Brightness"), QStringLiteral("brightness"), -100, 100, 20);
    layout.addButtons();
    for (CSliderWithBox* slider : {hue_, saturation_, brightness_})
        connect(slider, &CSliderWithBox::released, this, &CHueSaturationDlg::Preview);
}

CHueSaturationDlg::Values CHueSaturationDlg::shown() const {
    return {hue_->value(), saturation_->value(), brightness_->value()};
}

// The document's descriptors are fetched afresh at every preview.
void CHueSaturationDlg::Preview() {
    const Values values = shown();
    if (ApplyHueSaturation(doc_.image(), doc_.working(), doc_.mask(), values.hue,
                           PercentToLevels(values.saturation),
                           PercentToLevels(values.brightness))) {
        previewed_ = values;
        repaint_();
    }
}

void CHueSaturationDlg::accept() {
    if (shown() != previewed_)
        Preview();
    QDialog::accept();
}

} // namespace halvera
