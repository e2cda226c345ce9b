#pragma once

#include "measure/LineGuides.h"
#include "measure/ui/MeasureTool.h"

namespace halvera {

// Line: a drag from S to E stores the line on release (unless S equals E).
// While dragging, perpendicular guides through both ends and the length are
// shown; the up and down arrows lengthen and shorten the guides. With "Snap
// to edges" on, the line stored is the straight edge near the drag, fitted
// over its length, from the foot of S to the foot of E.
class CLineMeasureTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;

    int guideLength() const { return guideLength_; }

protected:
    void DrawOwn(CMavView& view, CMeasureDrawer& drawer, QPainter& painter) override;

private:
    bool appendLine(CMavView& view);

    PixelPoint start_;
    PixelPoint end_;
    bool dragging_ = false;
    int guideLength_ = kInitialGuideLength;
};

// Adjust line: a press near a stored end grabs that end, else a press near a
// line's pixels grabs the whole line; dragging moves what is grabbed by the
// pointer's movement. The grabbed line shows its guides.
class CAdjustLineTool : public CMeasureTool {
public:
    enum Part { None = -1, Start = 0, End = 1, Whole = 2 };

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void Draw(CMavView& view, QPainter& painter) override;

    int grabbedPart() const { return part_; }

private:
    bool holdsLine(CMavView& view) const;

    int part_ = None;
    int line_ = -1;
    PixelPoint copy_[2];
    PixelPoint last_;
    int guideLength_ = kInitialGuideLength;
};

} // namespace halvera
