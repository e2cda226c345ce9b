#pragma once

#include "view/ui/MouseTool.h"
#include "warping/FreeTransformFrame.h"

namespace halvera {

// The free-transform tool: a green frame with four corner handles and a pivot
// marker around the selection (or the whole image). A corner drag distorts the
// frame in perspective, a drag inside moves it, a drag outside turns it about
// the pivot, and the pivot itself can be dragged. Each release, unless it
// only moved the pivot, re-renders the image from the copy taken when the
// tool started as one undo step of image and mask.
class CFreeTransformTool : public CMouseTool {
public:
    static constexpr int kNothing = 9;

    explicit CFreeTransformTool(CMavView& view);

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    // Makes the transformed image the new starting point: image into the
    // working copy, mask into the saved mask.
    void Finish(CMavView& view) override;

    const FreeTransformFrame& frame() const { return frame_; }

private:
    void ShowCursor(CMavView& view, PixelPoint mouse) const;

    FreeTransformFrame frame_;
    int grabbed_ = kNothing;
    bool dragging_ = false;
    PixelPoint press_;
    PixelPoint last_;
};

} // namespace halvera
