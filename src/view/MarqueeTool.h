#pragma once

#include "view/MouseTool.h"
#include "view/PixelGeometry.h"

#include <cstdint>

namespace halvera {

// The rectangular and elliptical marquee: a drag in any direction selects the
// rectangle between the press and the release pixel (both included), or the
// midpoint ellipse inscribed in it; a click without dragging selects the one
// pixel under it. Ctrl held subtracts. The rubber shape is drawn in XOR while
// dragging; the view scrolls when the pointer leaves the window. Each release
// is one undo step of the mask.
class CMarqueeTool : public CMouseTool {
public:
    enum class Shape { Ellipse = 0, Rectangle = 1 };

    explicit CMarqueeTool(Shape shape) : shape_(shape) {}

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void OnKeyUp(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void Finish(CMavView& view) override;

    Shape shape() const { return shape_; }
    uint8_t paintValue() const { return paintValue_; }
    bool dragging() const { return dragging_; }
    // The dragged rectangle in image pixels, corners as dragged.
    const PixelRect& rect() const { return rect_; }

private:
    void setSecondCorner(CMavView& view, int x, int y);
    void setPaintValue(CMavView& view, uint8_t value);
    void showCursor(CMavView& view) const;

    Shape shape_;
    uint8_t paintValue_ = 255;
    bool dragging_ = false;
    PixelRect rect_;
};

} // namespace halvera
