#include "processing/ui/ArithmeticCommands.h"

#include "document/MavDoc.h"
#include "processing/ReferenceImage.h"
#include "processing/ShadeCorrectionCommand.h"
#include "processing/ui/CalculationDialog.h"
#include "processing/ui/ShadeCorrectionDialog.h"
#include "view/ui/FrameServices.h"
#include "view/ui/MavView.h"

namespace halvera {

namespace {

// The open images in the main window's order; without a main window (a lone
// view) only the view's own.
std::vector<CMavDoc*> OpenDocuments(CMavDoc& active) {
    if (const FrameServices* frame = Frame())
        return frame->openDocuments();
    return {&active};
}

void RunAutomatic(CMavView& view, AutomaticShadeCorrection kind) {
    view.endTool();
    view.startOutlineTimer();
    RunAutomaticShadeCorrection(view.document(), view.selection(), kind);
    view.repaintView();
    view.repaintIndexPanel();
}

} // namespace

void ArithmeticCommand(CMavView& view) {
    view.runDialogCommand([&view] {
        CCalculationDialog dialog(
            view.document(), OpenDocuments(view.document()), [&view] { view.repaintView(); },
            &view);
        return dialog.exec() == QDialog::Accepted;
    });
}

void ShadePolynomialCommand(CMavView& view) {
    RunAutomatic(view, AutomaticShadeCorrection::Polynomial);
}

void ShadeMorphological7Command(CMavView& view) {
    RunAutomatic(view, AutomaticShadeCorrection::Morphological7);
}

void ShadeMorphological9Command(CMavView& view) {
    RunAutomatic(view, AutomaticShadeCorrection::Morphological9);
}

void ReferenceImageCommand(CMavView& view) {
    BuildReferenceImage(view.document().image());
}

void FieldShadeCorrectionCommand(CMavView& view) {
    view.runDialogCommand([&view] {
        CShadeCorrectionDialog dialog(
            view.document(), [&view] { view.repaintView(); }, &view);
        return dialog.exec() == QDialog::Accepted;
    });
}

} // namespace halvera
