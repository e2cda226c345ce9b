#pragma once

#include "view/ui/AnnotationTool.h"

namespace halvera {

// A straight brush stroke: dragging shows a red XOR rubber line as wide as
// the brush in screen pixels; the release paints it as one undo step.
class CLineTool : public CAnnotationTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void Finish(CMavView& view) override;

    bool dragging() const { return dragging_; }

private:
    bool dragging_ = false;
    PixelPoint start_;
    PixelPoint end_;
    int size_ = 1;
    ColourRef colour_ = 0;
};

} // namespace halvera
