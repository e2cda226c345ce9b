#pragma once

#include "view/MouseTool.h"
#include "view/PixelGeometry.h"

#include <QPoint>
#include <cstdint>
#include <vector>

namespace halvera {

// The lasso: draws a closed polygon into the selection mask. Dragging with
// the button held draws freehand; each click fixes a vertex while the edge
// from the last vertex follows the pointer; a double-click closes the polygon
// (last point joined to the first) and fills it. Ctrl held subtracts from the
// selection instead of adding. Each fill is one undo step of the mask.
class CLassoTool : public CMouseTool {
public:
    static constexpr size_t kPointsGrowth = 16;

    CLassoTool();

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonDblClk(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void OnKeyUp(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void Finish(CMavView& view) override;

    uint8_t paintValue() const { return paintValue_; }
    const std::vector<PixelPoint>& points() const { return points_; }

private:
    void append(CMavView& view, QPoint client);
    void setPaintValue(CMavView& view, uint8_t value);
    void showCursor(CMavView& view) const;
    void reset(CMavView& view);

    uint8_t paintValue_ = 255;
    std::vector<PixelPoint> points_;
    QPoint current_; // client point of the pointer; the rubber edge ends there
};

} // namespace halvera
