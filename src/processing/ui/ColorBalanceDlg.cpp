#include "processing/ui/ColorBalanceDlg.h"

#include "document/MavDoc.h"
#include "processing/ApplyColorBalance.h"
#include "processing/ClampTable.h"
#include "processing/ui/AdjustmentDialogLayout.h"
#include "view/ui/SliderWithBox.h"

namespace halvera {

CColorBalanceDlg::CColorBalanceDlg(CMavDoc& doc, std::function<void()> repaint, QWidget* parent)
    : QDialog(parent), doc_(doc), repaint_(std::move(repaint)) {
    setWindowTitle(QStringLiteral("Color balance"));
    AdjustmentDialogLayout layout(*this, QStringLiteral("RGB/CMY"));
    cyanRed_ = layout.addSlider(QStringLiteral("C/R"), QStringLiteral("cyanRed"), -100, 100, 20);
    magentaGreen_ =
        layout.addSlider(QStringLiteral("M/G"), QStringLiteral("magentaGreen"), -100, 100, 20);
    yellowBlue_ =
        layout.addSlider(QStringLiteral("Y/B"), QStringLiteral("yellowBlue"), -100, 100, 20);
    layout.addButtons();
    for (CSliderWithBox* slider : {cyanRed_, magentaGreen_, yellowBlue_})
        connect(slider, &CSliderWithBox::valueChanged, this, &CColorBalanceDlg::Preview);
}

// The document's descriptors are fetched afresh at every preview.
void CColorBalanceDlg::Preview() {
    if (ApplyColorBalance(
            doc_.image(), doc_.working(), doc_.mask(), PercentToLevels(cyanRed_->value()),
            PercentToLevels(magentaGreen_->value()), PercentToLevels(yellowBlue_->value())))
        repaint_();
}

} // namespace halvera
