#pragma once

#include "image/PixelGeometry.h"
#include "view/ui/SelectionPaintTool.h"

#include <cstdint>

namespace halvera {

// The rectangular and elliptical marquee: a drag in any direction selects the
// rectangle between the press and the release pixel (both included), or the
// midpoint ellipse inscribed in it; a click without dragging selects the one
// pixel under it. Ctrl held subtracts. The rubber shape is drawn in XOR while
// dragging; the view scrolls when the pointer leaves the window. Each release
// is one undo step of the mask.
class CMarqueeTool : public CSelectionPaintTool {
public:
    enum class Shape { Ellipse = 0, Rectangle = 1 };

    explicit CMarqueeTool(Shape shape)
        : CSelectionPaintTool(CursorId::MarqueeAdd, CursorId::MarqueeSubtract), shape_(shape) {}

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void Finish(CMavView& view) override;

    Shape shape() const { return shape_; }
    bool dragging() const { return dragging_; }
    // The dragged rectangle in image pixels, corners as dragged.
    const PixelRect& rect() const { return rect_; }

private:
    void setSecondCorner(CMavView& view, int x, int y);

    Shape shape_;
    bool dragging_ = false;
    PixelRect rect_;
};

} // namespace halvera
