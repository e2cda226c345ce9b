#pragma once

#include "image/AppSettings.h"
#include "image/PixelGeometry.h"
#include "view/PaintCanvas.h"
#include "view/ui/MouseTool.h"

#include <functional>

class QPoint;

namespace halvera {

class CMavDoc;

// The common part of the tools that paint annotations into the main image:
// the shared settings (colour, brush size, tolerance), the canvas that honours
// the selection, and the one-undo-step commit.
class CAnnotationTool : public CMouseTool {
protected:
    static AppSettings& Settings(CMavView& view);
    static PixelPoint ImagePoint(CMavView& view, int x, int y);
    // The image point under (x, y), clamped into the image.
    static PixelPoint ClampedImagePoint(CMavView& view, int x, int y);
    // The main image and the selection as they are now, painting `colour`.
    static PaintCanvas Canvas(CMavView& view, ColourRef colour);
    // Runs `paint` as one image undo step (kind 3) with the view's selection
    // record, then repaints the view. `paint` returns false when it changed
    // nothing: the step is then dropped.
    static bool PaintAsStep(CMavView& view, const std::function<bool()>& paint);
    // The rubber shapes' pen: XOR on the window.
    static void BeginXor(QPainter& painter);
};

} // namespace halvera
