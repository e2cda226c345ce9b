#include "view/ui/RoiCutTool.h"

#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "image/RegionOfInterest.h"
#include "view/FloodFillMask.h"
#include "view/ui/MavView.h"

namespace halvera {

std::optional<PixelPoint> CRoiCutTool::FindSelectedNear(const CMavDoc& doc, PixelPoint at) {
    const CDibImage mask = doc.mask();
    for (int32_t y = at.y - kSearchRadius; y <= at.y + kSearchRadius; ++y) {
        if (y < 0 || y >= mask.height)
            continue;
        const uint8_t* row = mask.row(y);
        for (int32_t x = at.x - kSearchRadius; x <= at.x + kSearchRadius; ++x)
            if (x >= 0 && x < mask.width() && IsSelectedByte(row[x]))
                return PixelPoint{x, y};
    }
    return std::nullopt;
}

void CRoiCutTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    const QPoint client(x, y);
    if (!view.isOverImage(client))
        return;
    const QPoint image = view.windowToImage(client);
    CMavDoc& doc = view.document();
    const std::optional<PixelPoint> seed = FindSelectedNear(doc, {image.x(), image.y()});
    if (!seed)
        return;
    // A fill stopped by lack of memory keeps its step, so Undo brings the
    // whole piece back.
    RunMaskCommand(doc, view.selection(),
                   [&] { return FloodFillMask(doc.mask(), *seed, 255, 0) != 0; });
    view.repaintView();
}

void CRoiCutTool::OnMouseMove(CMavView& view, int, int, int) {
    view.setToolCursor(CursorId::RoiCut);
}

void CRoiCutTool::Finish(CMavView& view) {
    view.document().SaveMask();
}

} // namespace halvera
