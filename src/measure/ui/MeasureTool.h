#pragma once

#include "document/MeasureKind.h"
#include "image/PixelGeometry.h"
#include "view/ui/MouseTool.h"

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

    static MeasureData& Data(CMavView& view);
    static PixelPoint ToImage(CMavView& view, int x, int y);
    static bool InClient(CMavView& view, int x, int y);
    static bool LeftHeld(int flags) { return (flags & kMouseLeftButton) != 0; }
};

} // namespace halvera
