#pragma once

#include "view/ui/MouseTool.h"
#include "warping/ZoomFrame.h"

namespace halvera {

// The zoom tool of the Warping menu: a green frame around the selection (or
// the whole image) whose handles stretch, mirror and move it; each release
// re-renders the image from the copy taken when the tool started, the region
// box scaled onto the frame. Its renders take no undo step.
class CZoomFrameTool : public CMouseTool {
public:
    // How far (window pixels, in x and in y) a press may lie from a handle.
    static constexpr int kHandleTolerance = 4;

    // Copies the image into the working copy and the mask into the saved
    // mask, and frames the saved selection's bounds.
    explicit CZoomFrameTool(CMavView& view);

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void Finish(CMavView& view) override;

    const ZoomFrame& frame() const { return frame_; }
    // Handle 0..7, ZoomFrame::kInside or ZoomFrame::kNothing for a client point.
    int HitTest(CMavView& view, int x, int y) const;

private:
    void Render(CMavView& view);

    ZoomFrame frame_;
    int grabbed_ = ZoomFrame::kNothing;
    bool dragging_ = false;
    PixelPoint last_;
};

} // namespace halvera
