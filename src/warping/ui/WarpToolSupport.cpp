#include "warping/ui/WarpToolSupport.h"

#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "image/SelectionBounds.h"
#include "platform/UserPrompts.h"
#include "view/ui/MavView.h"
#include "warping/FrameGeometry.h"
#include "warping/WarpQuad.h"

namespace halvera {

namespace {

PixelPoint WindowPoint(CMavView& view, PixelPoint image) {
    const QPoint p = view.imageToWindow(QPoint(image.x, image.y));
    return PixelPoint{p.x(), p.y()};
}

} // namespace

PixelRect BeginWarpTool(CMavView& view) {
    CMavDoc& doc = view.document();
    doc.CopyToWorking();
    doc.SaveMask();
    return SelectionBounds(doc.savedMask());
}

PixelPoint ImagePointAt(CMavView& view, int x, int y) {
    const QPoint p = view.windowToImage(QPoint(x, y));
    return PixelPoint{p.x(), p.y()};
}

int HitWindowFrame(CMavView& view, const QuadCorners& corners, int x, int y, int tolerance,
                   int inside, int outside) {
    // Handles are drawn in window pixels, so they are hit there too: the
    // tolerance stays the same at every zoom.
    const QPoint logical = view.clientToLogical(QPoint(x, y));
    const PixelPoint mouse{logical.x(), logical.y()};
    QuadCorners window{};
    for (size_t k = 0; k < corners.size(); ++k)
        window[k] = WindowPoint(view, corners[k]);
    const int handle = HitFrameHandle(FrameHandlePoints(window), mouse, tolerance);
    if (handle >= 0)
        return handle;
    return IsInsideQuad(window, mouse) ? inside : outside;
}

void RenderQuadStep(CMavView& view, const QuadCorners& source, const QuadCorners& corners) {
    CMavDoc& doc = view.document();
    const WaitCursor wait;
    RunImageMaskCommand(doc, view.selection(), false, [&] {
        doc.RestoreFromWorking();
        return WarpQuad(doc.image(), doc.working(), doc.mask(), doc.savedMask(), source, corners);
    });
    view.repaintIndexPanel();
}

void KeepWarpedImage(CMavView& view) {
    view.repaintView();
    view.document().CopyToWorking();
    view.document().SaveMask();
}

} // namespace halvera
