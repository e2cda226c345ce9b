#pragma once

#include "image/PixelGeometry.h"
#include "view/ui/MouseTool.h"

namespace halvera {

// The floating pasted picture (the document's paste image). It is pasted over
// the working copy at its position, only inside the selection when there is
// one, and can be dragged with the mouse (one undo step per drag) or moved by
// one pixel with the arrow keys (applied when the key goes up, without a
// step). When another tool or command ends it, the paste stays where it was
// last applied.
class CPasteTool : public CMouseTool {
public:
    explicit CPasteTool(PixelPoint position) : position_(position) {}

    // Pastes at the current position as one image undo step and repaints.
    void PasteAsStep(CMavView& view);

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void OnKeyUp(CMavView& view, int key, int repeatCount, int keyFlags) override;

    PixelPoint position() const { return position_; }

private:
    // The main image becomes the working copy with the paste image over it.
    void Apply(CMavView& view) const;

    PixelPoint position_;
    PixelPoint dragOffset_;
    bool dragging_ = false;
    bool movedByKeys_ = false;
};

} // namespace halvera
