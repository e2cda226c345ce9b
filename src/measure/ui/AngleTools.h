#pragma once

#include "measure/ui/MeasureTool.h"

#include <QPoint>
#include <array>

namespace halvera {

// Angle: three presses place the first arm end A, the vertex V and the second
// arm end B; between them a rubber band follows the pointer from the last
// placed point. The angle is stored on the release after the third press
// (unless V equals A or B). With "Snap to edges" on, each press lands on the
// edge near it.
class CAngleTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

    // Presses so far minus one: -1 before the first.
    int clicks() const { return lastClick_; }

protected:
    void DrawOwn(CMavView& view, CMeasureDrawer& drawer, QPainter& painter) override;

private:
    int lastClick_ = -1;
    std::array<Click, 3> clicks_{}; // A, V, B
    QPoint pointer_;                // logical window point of the last move
};

// Adjust angle: a press near an arm end grabs it, near the vertex grabs the
// whole angle; dragging puts the arm end at the pointer or moves the angle.
class CAdjustAngleTool : public CMeasureTool {
public:
    enum Part { None = -1, FirstArm = 0, Vertex = 1, SecondArm = 2 };

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

    int grabbedPart() const { return part_; }

private:
    bool holdsAngle(CMavView& view) const;

    int part_ = None;
    int angle_ = -1;
    PixelPoint last_;
};

} // namespace halvera
