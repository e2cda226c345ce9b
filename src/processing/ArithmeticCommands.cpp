#include "processing/ArithmeticCommands.h"

#include "app/HalveraApp.h"
#include "image/MavDoc.h"
#include "processing/CalculationDialog.h"
#include "processing/ReferenceImage.h"
#include "processing/ShadeCorrectionCommand.h"
#include "processing/ShadeCorrectionDialog.h"
#include "view/MavView.h"

namespace halvera {

namespace {

// The open images in the application's order; without an application (a
// lone view) only the view's own.
std::vector<CMavDoc*> OpenDocuments(CMavDoc& active) {
    if (const CHalveraApp* app = CHalveraApp::Instance())
        return app->ListDocuments();
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
