#pragma once

#include "document/MeasureKind.h"
#include "image/PixelGeometry.h"
#include "view/ui/MouseTool.h"

#include <optional>

namespace halvera {

class CMeasureDrawer;
class MeasureData;
class MeasureResultsPanel;

// The results panel of the main window, or null when the view has none (a
// lone view in a test).
MeasureResultsPanel* ResultsPanel();

// What the tools tell the results panel; nothing happens without one.
namespace Results {
void AppendRow(MeasureKind kind);
void UpdateRow(MeasureKind kind, int item);
void SelectTab(MeasureKind kind);
void SelectRow(int row);
} // namespace Results

// The base of the twelve measurement tools. Creating one shows the results
// panel and destroying it hides the panel; while one is the view's tool the
// document's measured items are drawn over the image (and under any other
// tool they are not). Finish repaints the view, which takes the tool's
// rubber shapes away.
class CMeasureTool : public CMouseTool {
public:
    CMeasureTool();
    ~CMeasureTool() override;

    void Draw(CMavView& view, QPainter& painter) override;
    void Finish(CMavView& view) override;

protected:
    // The tool's own shapes, drawn after every item of the document.
    virtual void DrawOwn(CMavView& view, CMeasureDrawer& drawer, QPainter& painter);

    // A click's image pixel and, with "Snap to edges" on, the edge point
    // near it when one is found there.
    struct Click {
        PixelPoint pixel;
        std::optional<SubPixelPoint> edge;
        SubPixelPoint At() const { return edge.value_or(ExactPoint(pixel)); }
    };
    Click ClickAt(CMavView& view, int x, int y);
    // With snapping on, marks the edge point the pointer would snap to and
    // shows it in the status bar; with snapping off, takes the mark away.
    void TrackSnap(CMavView& view, int x, int y);

    static MeasureData& Data(CMavView& view);
    static PixelPoint ToImage(CMavView& view, int x, int y);
    static bool InClient(CMavView& view, int x, int y);
    static bool LeftHeld(int flags) { return (flags & kMouseLeftButton) != 0; }

private:
    std::optional<SubPixelPoint> snapMark_;
};

} // namespace halvera
