#pragma once

#include "view/ui/AnnotationTool.h"

namespace halvera {

// Flood fill: a click paints the sign colour over the 8-connected piece of
// pixels within the tolerance of the clicked one, as one undo step. A click
// on a pixel of the fill colour, or outside the selection, does nothing.
class CFillTool : public CAnnotationTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void Finish(CMavView& view) override;
};

// The eyedropper: a click takes the colour of the image pixel under the
// pointer as the sign colour. Nothing else changes.
class CEyedropperTool : public CMouseTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
};

} // namespace halvera
