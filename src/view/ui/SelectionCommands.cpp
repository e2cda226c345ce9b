#include "view/ui/SelectionCommands.h"

#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "image/RegionOfInterest.h"
#include "view/ClearSelection.h"
#include "view/CopySelection.h"
#include "view/CropToSelection.h"
#include "view/CutSelection.h"
#include "view/PasteImage.h"
#include "view/ui/ClipboardPicture.h"
#include "view/ui/CommandTarget.h"
#include "view/ui/LassoTool.h"
#include "view/ui/MarqueeTool.h"
#include "view/ui/MavView.h"
#include "view/ui/PasteTool.h"
#include "view/ui/RoiCutTool.h"

namespace halvera {

void StartLassoTool(CMavView& view) {
    view.startTool(OutlineAnimation::Start, ToolMode::Lasso,
                   [] { return std::make_unique<CLassoTool>(); });
}

void StartRectangleMarquee(CMavView& view) {
    view.startTool(OutlineAnimation::Start, ToolMode::Marquee,
                   [] { return std::make_unique<CMarqueeTool>(CMarqueeTool::Shape::Rectangle); });
}

void StartEllipseMarquee(CMavView& view) {
    view.startTool(OutlineAnimation::Start, ToolMode::Marquee,
                   [] { return std::make_unique<CMarqueeTool>(CMarqueeTool::Shape::Ellipse); });
}

void StartRoiCutTool(CMavView& view) {
    view.startTool(OutlineAnimation::Start, ToolMode::Marquee,
                   [] { return std::make_unique<CRoiCutTool>(); });
}

void RoiClear(CMavView& view) {
    CMavDoc& doc = view.document();
    if (!MaskHasRegion(doc.mask()))
        return;
    view.runImageCommand([&doc](const CDibImage&, const CDibImage&,
                                const CDibImage& mask) { ClearSelection(mask, doc.savedMask()); },
                         ImageCommand{false, StepKind::Mask, OutlineAnimation::Stop});
}

void CropToSelectionCommand(CMavView& view) {
    if (!MaskHasRegion(view.document().mask())) {
        view.endTool();
        view.startOutlineTimer();
        return;
    }
    view.runImageCommand([](const CDibImage& image, const CDibImage&,
                            const CDibImage& mask) { CropToSelection(image, mask); },
                         ImageCommand{false, StepKind::Image, OutlineAnimation::Start});
}

void CopyCommand(CMavView& view) {
    const CMavDoc& doc = view.document();
    PutPictureOnClipboard(CopySelection(doc.image(), doc.mask()));
}

void CutCommand(CMavView& view) {
    CMavDoc& doc = view.document();
    // The pixels are whitened only once the picture is safely on the clipboard.
    const bool cut = RunImageCommand(doc, view.selection(), false, [&] {
        const PackedDib picture = CopySelection(doc.image(), doc.mask());
        if (!PutPictureOnClipboard(picture))
            return false;
        WhitenSelection(doc.image(), doc.mask());
        return true;
    });
    if (cut) {
        view.repaintView();
        view.repaintIndexPanel();
    }
}

void PasteCommand(CMavView& view) {
    const PackedDib picture = PictureFromClipboard();
    if (!picture)
        return;
    // A picture the program cannot take changes nothing, not even the tool.
    DibBlock pasteImage;
    if (!LoadPasteImage(picture, pasteImage))
        return;
    CMavDoc& doc = view.document();
    // A tool being ended may still change the image: end it before the
    // working copy is taken.
    view.endTool();
    doc.CopyToWorking();
    doc.pasteBlock() = std::move(pasteImage);
    auto tool = std::make_unique<CPasteTool>(PastePosition(doc.mask()));
    CPasteTool& paste = *tool;
    view.setTool(std::move(tool));
    view.setToolMode(ToolMode::Paste);
    paste.PasteAsStep(view);
    view.repaintIndexPanel();
}

void UpdatePasteCommand(CMavView&, CommandState& state) {
    state.enabled = ClipboardOffersPicture();
}

} // namespace halvera
