#pragma once

#include "image/PixelGeometry.h"
#include "view/ui/SelectionPaintTool.h"

#include <QPoint>
#include <cstdint>
#include <vector>

namespace halvera {

// The lasso: draws a closed polygon into the selection mask. Dragging with
// the button held draws freehand; each click fixes a vertex while the edge
// from the last vertex follows the pointer; a double-click closes the polygon
// (last point joined to the first) and fills it. Ctrl held subtracts from the
// selection instead of adding. Each fill is one undo step of the mask.
class CLassoTool : public CSelectionPaintTool {
public:
    static constexpr size_t kPointsGrowth = 16;

    CLassoTool();

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonDblClk(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void Finish(CMavView& view) override;

    const std::vector<PixelPoint>& points() const { return points_; }

private:
    void append(CMavView& view, QPoint client);
    void reset(CMavView& view);

    std::vector<PixelPoint> points_;
    QPoint current_; // client point of the pointer; the rubber edge ends there
};

} // namespace halvera
