#pragma once

#include "view/ui/AnnotationTool.h"

#include <optional>

namespace halvera {

// Freehand drawing with the brush: a press stamps a disc, every move strokes
// to the pointer, the release ends the stroke. One stroke is one undo step.
// The up and down arrows change the brush size (1..100), stored in the
// settings at once.
class CPencilTool : public CAnnotationTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void Finish(CMavView& view) override;

    bool stroking() const { return canvas_.has_value(); }

private:
    void endStroke(CMavView& view);

    // The stroke's canvas: the colour and the region as they were at the press.
    std::optional<PaintCanvas> canvas_;
    bool stepOpen_ = false;
    PixelPoint last_;
    int size_ = 1;
};

} // namespace halvera
