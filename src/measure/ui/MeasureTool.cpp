#include "measure/ui/MeasureTool.h"

#include "document/MavDoc.h"
#include "measure/MeasureResultsPanel.h"
#include "measure/ui/EdgeSnap.h"
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
    if (snapMark_)
        DrawSnapMark(view, painter, *snapMark_);
}

void CMeasureTool::DrawOwn(CMavView&, CMeasureDrawer&, QPainter&) {}

void CMeasureTool::Finish(CMavView& view) {
    view.repaintView();
}

CMeasureTool::Click CMeasureTool::ClickAt(CMavView& view, int x, int y) {
    Click click{ToImage(view, x, y), std::nullopt};
    if (SnappingOn(view)) {
        click.edge = EdgeNear(view, click.pixel);
        ShowSnapStatus(click.edge);
    }
    return click;
}

void CMeasureTool::TrackSnap(CMavView& view, int x, int y) {
    std::optional<SubPixelPoint> mark;
    if (SnappingOn(view)) {
        mark = EdgeNear(view, ToImage(view, x, y));
        ShowSnapStatus(mark);
    }
    if (mark == snapMark_)
        return;
    snapMark_ = mark;
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
