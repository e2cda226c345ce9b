#pragma once

#include "measure/MeasureHitTest.h"
#include "measure/ui/MeasureTool.h"

namespace halvera {

// Rectangle: a drag from one corner to the other stores the rectangle,
// normalised, on release (unless it is a single point).
class CRectangleMeasureTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

protected:
    void DrawOwn(CMavView& view, CMeasureDrawer& drawer, QPainter& painter) override;

private:
    PixelRect rect_;
    bool dragging_ = false;
};

// Adjust rectangle: a press near a corner grabs that corner, inside a
// rectangle grabs the whole of it. Dragging a corner puts it at the pointer;
// dragging the whole moves it with the pointer. The rectangle is normalised
// after every move, and the grabbed corner keeps its number.
class CAdjustRectangleTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

    RectanglePart grabbedPart() const { return grab_.part; }

private:
    bool holdsRectangle(CMavView& view) const;

    RectangleHit grab_;
    PixelPoint last_;
};

} // namespace halvera
