#pragma once

#include "view/ui/AnnotationTool.h"

#include <QRect>

namespace halvera {

// Outline (brush discs) or filled shapes dragged as a box.
enum class ShapeStyle { Outline = 1, Filled = 2 };

// The common drag of the rectangle and ellipse tools: a press on the image
// starts a box, the drag shows it as a white XOR rubber shape (the view
// scrolls past the window edge) and the release paints the shape as one undo
// step with the colour and brush size of that moment.
class CBoxShapeTool : public CAnnotationTool {
public:
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void Draw(CMavView& view, QPainter& painter) override;
    void Finish(CMavView& view) override;

    ShapeStyle style() const { return style_; }
    bool dragging() const { return dragging_; }

protected:
    explicit CBoxShapeTool(ShapeStyle style) : style_(style) {}

    // Paints the shape for the normalised box.
    virtual void paint(const PaintCanvas& canvas, const PixelRect& box, int size) = 0;
    // The box as the shape uses it (the rectangle clamps it into the image).
    virtual PixelRect prepare(CMavView&, const PixelRect& box) const { return box; }
    virtual void drawRubber(QPainter& painter, const QRect& window) const = 0;

private:
    ShapeStyle style_;
    bool dragging_ = false;
    PixelRect box_;
};

class CRectangleTool : public CBoxShapeTool {
public:
    explicit CRectangleTool(ShapeStyle style) : CBoxShapeTool(style) {}

protected:
    void paint(const PaintCanvas& canvas, const PixelRect& box, int size) override;
    PixelRect prepare(CMavView& view, const PixelRect& box) const override;
    void drawRubber(QPainter& painter, const QRect& window) const override;
};

class CEllipseTool : public CBoxShapeTool {
public:
    explicit CEllipseTool(ShapeStyle style) : CBoxShapeTool(style) {}

protected:
    void paint(const PaintCanvas& canvas, const PixelRect& box, int size) override;
    void drawRubber(QPainter& painter, const QRect& window) const override;
};

} // namespace halvera
