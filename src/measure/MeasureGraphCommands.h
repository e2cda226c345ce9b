#pragma once

#include "document/MavDoc.h"
#include "document/SelectionRecord.h"
#include "measure/MeasureGraph.h"

namespace halvera {

// Whether the document holds any measured item.
bool HasMeasureItems(const MeasureData& data);

// "Merge": one image undo step that burns the measurement drawing of the
// document's items into its image; pixels drawn in the grey key colour
// (128, 128, 128) are left out. With no items nothing is drawn, but the step
// is recorded.
bool MergeMeasurements(CMavDoc& doc, SelectionRecord& selection, const GraphLabelPainter& labels);

// "Build graph": one image undo step that replaces the image by the
// measurement drawing on white (marks in white are left out). With no items
// the image stays as it is, but the step is recorded.
bool BuildMeasureGraph(CMavDoc& doc, SelectionRecord& selection, const GraphLabelPainter& labels);

// The graph that "Print graph" prints: the image made white and the drawing
// burnt in, with no undo step (the caller keeps and restores the image).
void DrawGraphForPrinting(CMavDoc& doc, const GraphLabelPainter& labels);

} // namespace halvera
