#pragma once

#include "view/RulerSign.h"
#include "view/ui/AnnotationTool.h"

#include <optional>

namespace halvera {

// Places a scale bar of the current horizontal calibration: the first click
// puts its left end there; dragging an end (within 6 pixels of it) changes
// the bar by whole units, dragging elsewhere moves it. Everything the tool
// does is one undo step, opened at creation and closed when the tool ends (or
// dropped when no bar was placed). Without a usable calibration nothing can
// be placed.
class CRulerSignTool : public CAnnotationTool {
public:
    explicit CRulerSignTool(CMavView& view);

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void Finish(CMavView& view) override;

    const RulerSignBar& bar() const { return bar_; }
    bool placed() const { return placed_; }
    PixelPoint leftEnd() const { return left_; }

private:
    enum class Part { Bar, LeftEnd, RightEnd };

    Part partAt(PixelPoint p) const;
    void draw(CMavView& view);

    RulerSignScale scale_;
    RulerSignBar bar_;
    ColourRef colour_;
    PaintCanvas canvas_;
    bool stepOpen_ = false;
    bool wasModified_ = false;
    bool placed_ = false;
    PixelPoint left_;
    PixelPoint grabPoint_;
    Part grabbed_ = Part::Bar;
};

} // namespace halvera
