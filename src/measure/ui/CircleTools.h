#pragma once

#include "measure/ui/MeasureTool.h"

#include <array>

namespace halvera {

// Circle: a drag from the centre C to a point Q on the circle stores the
// circle on release (unless Q equals C). With "Snap to edges" on, the circle
// stored is the circular edge near the drawn one, fitted all round.
class CCircleTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

protected:
    void DrawOwn(CMavView& view, CMeasureDrawer& drawer, QPainter& painter) override;

private:
    PixelPoint centre_;
    PixelPoint onCircle_;
    bool dragging_ = false;
};

// Three point circle: three clicks; on the release after the third the
// circle through them is fitted and stored as its centre and the first click.
// With "Snap to edges" on, each click lands on the edge near it and the
// circular edge near the circle through them is fitted all round.
class CThreePointCircleTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

    // Clicks so far minus one: -1 before the first.
    int clicks() const { return lastClick_; }

protected:
    void DrawOwn(CMavView& view, CMeasureDrawer& drawer, QPainter& painter) override;

private:
    bool appendCircle(CMavView& view);

    int lastClick_ = -1;
    std::array<Click, 3> clicks_{};
};

// Adjust circle: a press near a centre grabs the circle (dragging moves it
// whole), near a circle point grabs that point (dragging changes the radius).
class CAdjustCircleTool : public CMeasureTool {
public:
    enum Part { None = -1, Centre = 0, OnCircle = 1 };

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

    int grabbedPart() const { return part_; }

private:
    bool holdsCircle(CMavView& view) const;

    int part_ = None;
    int circle_ = -1;
    PixelPoint last_;
};

} // namespace halvera
