#include "print/PrintCommands.h"

#include "image/MavDoc.h"
#include "platform/qt/PrinterSetup.h"
#include "print/ImagePrintDialog.h"
#include "view/MavView.h"

namespace halvera {

void RunImagePrintDialog(CMavView& view, const CDibImage& image) {
    CImagePrintDialog dialog(image, view.document().settings(), ApplicationPrinter(), &view);
    dialog.exec();
}

void PrintImageCommand(CMavView& view) {
    RunImagePrintDialog(view, view.document().image());
}

} // namespace halvera
