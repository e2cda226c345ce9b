#pragma once

#include "view/ui/ShapeTools.h"

#include <QPoint>
#include <vector>

namespace halvera {

// A polygon painted into the image: each click anywhere in the window adds a
// vertex (clamped into the image), dragging with the button held adds every
// position passed (freehand), and without the button a rubber segment follows
// the pointer. A double-click closes the polygon and paints its outline with
// the brush or fills it, as one undo step; a single vertex paints nothing.
class CPolygonTool : public CAnnotationTool {
public:
    explicit CPolygonTool(ShapeStyle style) : style_(style) {}

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonDblClk(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void Finish(CMavView& view) override;

    ShapeStyle style() const { return style_; }
    const std::vector<PixelPoint>& points() const { return points_; }

private:
    void append(CMavView& view, int x, int y);

    ShapeStyle style_;
    std::vector<PixelPoint> points_;
    QPoint current_; // the pointer, client pixels
};

} // namespace halvera
