#pragma once

#include "measure/ui/MeasureTool.h"

namespace halvera {

// Width: a drag across a bar, slot or wire; on release the width between the
// first and the last edge the drag crosses (EdgeWidth.h) is stored as a line
// from the first edge, square to it, to the last. The status bar tells when
// no width was found.
class CWidthTool : public CMeasureTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;

protected:
    void DrawOwn(CMavView& view, CMeasureDrawer& drawer, QPainter& painter) override;

private:
    PixelPoint start_;
    PixelPoint end_;
    bool dragging_ = false;
};

} // namespace halvera
