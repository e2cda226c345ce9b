#include "view/ui/AnnotationTool.h"

#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "view/ui/MavView.h"

#include <QPainter>
#include <algorithm>

namespace halvera {

AppSettings& CAnnotationTool::Settings(CMavView& view) {
    return view.document().settings();
}

PixelPoint CAnnotationTool::ImagePoint(CMavView& view, int x, int y) {
    const QPoint image = view.windowToImage(QPoint(x, y));
    return {image.x(), image.y()};
}

PixelPoint CAnnotationTool::ClampedImagePoint(CMavView& view, int x, int y) {
    const PixelPoint p = ImagePoint(view, x, y);
    const CMavDoc& doc = view.document();
    return {std::clamp(p.x, 0, std::max(doc.width() - 1, 0)),
            std::clamp(p.y, 0, std::max(doc.height() - 1, 0))};
}

PaintCanvas CAnnotationTool::Canvas(CMavView& view, ColourRef colour) {
    const CMavDoc& doc = view.document();
    return PaintCanvas(doc.image(), doc.mask(), colour);
}

bool CAnnotationTool::PaintAsStep(CMavView& view, const std::function<bool()>& paint) {
    const bool painted = RunImageCommand(view.document(), view.selection(), false, paint);
    view.repaintView();
    return painted;
}

void CAnnotationTool::BeginXor(QPainter& painter) {
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setBrush(Qt::NoBrush);
}

} // namespace halvera
