#include "warping/ui/WarpingCommands.h"

#include "document/MavDoc.h"
#include "view/ui/MavView.h"
#include "warping/FlipHorizontal.h"
#include "warping/FlipVertical.h"
#include "warping/ui/FreeTransformTool.h"
#include "warping/ui/NetWarpDialog.h"
#include "warping/ui/RotateTool.h"
#include "warping/ui/ZoomFrameTool.h"

namespace halvera {

namespace {

// The flips copy image and mask into their copies themselves and move the
// selection with the image: one step of image and mask.
constexpr ImageCommand kFlipCommand{false, StepKind::ImageAndMask, OutlineAnimation::Start};

template <class Tool> void StartWarpTool(CMavView& view) {
    view.startTool(OutlineAnimation::Start, ToolMode::Warping,
                   [&view] { return std::make_unique<Tool>(view); });
}

} // namespace

void HorizontalFlipCommand(CMavView& view) {
    CMavDoc& doc = view.document();
    view.runImageCommand(
        [&doc](const CDibImage& image, const CDibImage& working, const CDibImage& mask) {
            FlipHorizontal(image, working, mask, doc.savedMask());
        },
        kFlipCommand);
}

void VerticalFlipCommand(CMavView& view) {
    CMavDoc& doc = view.document();
    view.runImageCommand(
        [&doc](const CDibImage& image, const CDibImage& working, const CDibImage& mask) {
            FlipVertical(image, working, mask, doc.savedMask());
        },
        kFlipCommand);
}

void ZoomTransformCommand(CMavView& view) {
    StartWarpTool<CZoomFrameTool>(view);
}

void RotateCommand(CMavView& view) {
    StartWarpTool<CRotateTool>(view);
}

void FreeTransformCommand(CMavView& view) {
    StartWarpTool<CFreeTransformTool>(view);
}

void NetWarpingCommand(CMavView& view) {
    view.runDialogCommand([&view] {
        CNetWarpDialog dialog(
            view.document(), [&view] { view.repaintView(); }, &view);
        return dialog.exec() == QDialog::Accepted;
    });
}

} // namespace halvera
