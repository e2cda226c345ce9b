#pragma once

#include "measure/ui/MeasureTool.h"

namespace halvera {

// Point: a press stores the image point (unless it repeats the last one);
// dragging moves the last stored point. With "Snap to edges" on, the point
// is the edge point near the press (or the drag), when there is one.
class CPointTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
};

// Adjust point: a press near a stored point makes it jump to the pointer and
// grabs it until the release; the grabbed point has a red square.
class CAdjustPointTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

    int selected() const { return selected_; }

protected:
    void DrawOwn(CMavView& view, CMeasureDrawer& drawer, QPainter& painter) override;

private:
    bool holdsPoint(CMavView& view) const;

    int selected_ = -1;
};

// Point to point: two presses on two different stored points store the
// distance between them. With "Snap to edges" on, a press on no stored point
// first stores the edge point near it.
class CPointToPointTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

    int phase() const { return phase_; }

private:
    int pointAt(CMavView& view, int x, int y);

    int phase_ = 0;
    int first_ = -1;
    int second_ = -1;
};

} // namespace halvera
