#include "view/ui/FillTool.h"

#include "document/MavDoc.h"
#include "image/RegionOfInterest.h"
#include "view/FloodFillColor.h"
#include "view/ui/MavView.h"

namespace halvera {

void CFillTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!view.isOverImage(QPoint(x, y)))
        return;
    const AppSettings& settings = Settings(view);
    const int tolerance = settings.MagicRange;
    const auto fill = static_cast<ColourRef>(settings.SignColor);
    const PixelPoint seed = ImagePoint(view, x, y);
    CMavDoc& doc = view.document();
    PaintAsStep(view, [&] {
        return FloodFillColor(doc.image(), RegionOfInterest(doc.mask()), seed, fill, tolerance) !=
               0;
    });
}

void CFillTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.repaintView();
}

void CFillTool::OnMouseMove(CMavView& view, int, int, int) {
    view.setToolCursor(CursorId::Fill);
}

void CFillTool::Finish(CMavView& view) {
    view.document().CopyToWorking();
}

void CEyedropperTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!view.isOverImage(QPoint(x, y)))
        return;
    const QPoint p = view.windowToImage(QPoint(x, y));
    const CDibImage image = view.document().image();
    if (p.x() < 0 || p.y() < 0 || p.x() >= image.width() || p.y() >= image.height)
        return;
    const uint8_t* pixel = image.row(p.y()) + 3 * static_cast<ptrdiff_t>(p.x());
    view.document().settings().SignColor =
        static_cast<int>(MakeColourRef(pixel[2], pixel[1], pixel[0]));
}

void CEyedropperTool::OnMouseMove(CMavView& view, int, int, int) {
    view.setToolCursor(CursorId::Eyedropper);
}

} // namespace halvera
