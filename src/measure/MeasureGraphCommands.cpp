#include "measure/MeasureGraphCommands.h"

#include "document/ImageCommand.h"

namespace halvera {

namespace {

void Burn(CMavDoc& doc, const GraphLabelPainter& labels, GraphColour key, bool whiten) {
    BurnMeasureGraph(doc.image(), doc.measureData(), RulerCalibration::CurrentScale(doc.settings()),
                     GraphColours::FromSettings(doc.settings()), labels, key, whiten);
}

} // namespace

bool HasMeasureItems(const MeasureData& data) {
    return !data.points().empty() || !data.lines().empty() || !data.circles().empty() ||
           !data.rectangles().empty() || !data.angles().empty();
}

bool MergeMeasurements(CMavDoc& doc, SelectionRecord& selection, const GraphLabelPainter& labels) {
    return RunImageCommand(doc, selection, true, [&] { Burn(doc, labels, kGraphGrey, false); });
}

bool BuildMeasureGraph(CMavDoc& doc, SelectionRecord& selection, const GraphLabelPainter& labels) {
    return RunImageCommand(doc, selection, true, [&] {
        if (HasMeasureItems(doc.measureData()))
            Burn(doc, labels, kGraphWhite, true);
    });
}

void DrawGraphForPrinting(CMavDoc& doc, const GraphLabelPainter& labels) {
    Burn(doc, labels, kGraphWhite, true);
}

} // namespace halvera
