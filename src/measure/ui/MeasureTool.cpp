#include "measure/ui/MeasureTool.h"

#include "document/MavDoc.h"
#include "measure/MeasureResultsPanel.h"
#include "measure/ui/MeasureDrawer.h"
#include "view/ui/FrameServices.h"
#include "view/ui/MavView.h"

#include <QPainter>

namespace halvera {

MeasureResultsPanel* ResultsPanel() {
    FrameServices* frame = Frame();
    return frame ? &frame->measureResults() : nullptr;
}

namespace Results {

void AppendRow(MeasureKind kind) {
    if (MeasureResultsPanel* panel = ResultsPanel())
        panel->AppendRow(kind);
}

void UpdateRow(MeasureKind kind, int item) {
    if (MeasureResultsPanel* panel = ResultsPanel())
        panel->UpdateRow(kind, item);
}

void SelectTab(MeasureKind kind) {
    if (MeasureResultsPanel* panel = ResultsPanel())
        panel->SelectTab(kind);
}

void SelectRow(int row) {
    if (MeasureResultsPanel* panel = ResultsPanel())
        panel->SelectRow(row);
}

} // namespace Results

CMeasureTool::CMeasureTool() {
    if (MeasureResultsPanel* panel = ResultsPanel())
        panel->ShowDataPanel();
}

CMeasureTool::~CMeasureTool() {
    if (MeasureResultsPanel* panel = ResultsPanel())
        panel->HideDataPanel();
}

void CMeasureTool::Draw(CMavView& view, QPainter& painter) {
    CMeasureDrawer drawer(view, painter);
    drawer.DrawAll(Data(view));
    DrawOwn(view, drawer, painter);
}

void CMeasureTool::DrawOwn(CMavView&, CMeasureDrawer&, QPainter&) {}

void CMeasureTool::Finish(CMavView& view) {
    view.repaintView();
}

MeasureData& CMeasureTool::Data(CMavView& view) {
    return view.document().measureData();
}

PixelPoint CMeasureTool::ToImage(CMavView& view, int x, int y) {
    const QPoint p = view.windowToImage(QPoint(x, y));
    return {p.x(), p.y()};
}

bool CMeasureTool::InClient(CMavView& view, int x, int y) {
    return view.viewport()->rect().contains(x, y);
}

} // namespace halvera
