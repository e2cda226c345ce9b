#pragma once

#include "view/ui/MouseTool.h"
#include "warping/RotateFrame.h"

namespace halvera {

// The rotate tool: a green frame around the selection (or the whole image)
// that turns when dragged from outside, moves when dragged from inside and
// resizes in its own turned axes by its handles. Each release re-renders the
// image from the copy taken when the tool started (the starting rectangle
// warped onto the frame) as one undo step of image and mask.
class CRotateTool : public CMouseTool {
public:
    // How far (window pixels, in x and in y) a press may lie from a handle.
    static constexpr int kHandleTolerance = 3;

    explicit CRotateTool(CMavView& view);

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    // Makes the rotated image the new starting point: image into the working
    // copy, mask into the saved mask.
    void Finish(CMavView& view) override;

    const RotateFrame& frame() const { return frame_; }
    // Handle 0..7, RotateFrame::kInside or RotateFrame::kOutside for a client point.
    int HitTest(CMavView& view, int x, int y) const;

private:
    void Drag(const PixelPoint& mouse);
    void ShowCursor(CMavView& view, int x, int y) const;

    RotateFrame frame_;
    int grabbed_ = RotateFrame::kInside;
    bool dragging_ = false;
    PixelPoint press_;
    PixelPoint last_;
};

} // namespace halvera
