#include "print/ui/PrintCommands.h"

#include "document/MavDoc.h"
#include "platform/ui/PrinterSetup.h"
#include "print/ui/ImagePrintDialog.h"
#include "view/ui/MavView.h"

namespace halvera {

void RunImagePrintDialog(CMavView& view, const CDibImage& image) {
    CImagePrintDialog dialog(image, view.document().settings(), ApplicationPrinter(), &view);
    dialog.exec();
}

void PrintImageCommand(CMavView& view) {
    RunImagePrintDialog(view, view.document().image());
}

} // namespace halvera
