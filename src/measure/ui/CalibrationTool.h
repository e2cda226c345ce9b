#pragma once

#include "image/PixelGeometry.h"
#include "view/ui/MouseTool.h"

namespace halvera {

// The L-shaped image ruler of dimension calibration. It is laid over the
// view at the client centre with legs as long as the calibration's pixel
// sizes at the view's zoom, drawn inverting the pixels under it. Dragging its
// horizontal end lengthens or shortens the horizontal leg, its vertical end
// the vertical leg (neither leg can become shorter than one pixel), and a
// press anywhere else moves the whole ruler. Every drag reports the ruler in
// image pixels to the "Calibrate" panel, which the tool shows while it lives.
//
// The points are logical window points, snapped to the image pixel grid.
class CCalibrationTool : public CMouseTool {
public:
    enum Part { None = -1, HorizontalEnd = 0, VerticalEnd = 1, Whole = 2 };

    explicit CCalibrationTool(CMavView& view);
    ~CCalibrationTool() override;

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void Finish(CMavView& view) override;

    // The ruler in logical window points: origin, horizontal end, vertical end.
    PixelPoint origin() const { return origin_; }
    PixelPoint horizontalEnd() const { return {x1_, origin_.y}; }
    PixelPoint verticalEnd() const { return {origin_.x, y2_}; }
    int grabbedPart() const { return part_; }

private:
    static PixelPoint Snapped(CMavView& view, int x, int y);
    void reportRuler(CMavView& view) const;

    PixelPoint origin_;
    int x1_ = 0;
    int y2_ = 0;
    int part_ = None;
    PixelPoint last_;
    bool shown_ = true;
};

// Dimension calibration (the view's command): ends the current tool, starts
// the outline timer, resets word 5 of the selection record and lays a new
// ruler (tool mode 3).
void DimensionCalibrationCommand(CMavView& view);
// What the panel's Reset, Cancel and Load do to the view: while the
// calibration tool is the view's tool, a fresh ruler replaces it.
void RestoreCalibrationTool(CMavView& view);
// What the panel's OK and Cancel do at last: end the tool (the ruler goes, the
// panel hides) and start the outline timer.
void EndCalibration(CMavView& view);

} // namespace halvera
