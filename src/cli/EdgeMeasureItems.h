#pragma once

#include "document/MeasureData.h"
#include "image/DibImage.h"
#include "measure/EdgeSearch.h"

#include <optional>
#include <string_view>

namespace halvera {

// What the measure command's edge items are measured on: the picture of
// --image and how far from each given position an edge is searched (--snap).
struct EdgeItemContext {
    CDibImage picture;
    double radius = kDefaultSnapRadius;
};

// Whether `word` names an edge item: edge-point:X,Y, edge-line:X1,Y1,X2,Y2,
// edge-circle:CX,CY,R or width:X1,Y1,X2,Y2 (numbers with a decimal point
// allowed).
bool IsEdgeItem(std::string_view word);

// Checks the edge item `word` without measuring it: its numbers, a circle's
// radius above 0, and a picture to measure on; throws UsageError otherwise.
void CheckEdgeItem(std::string_view word, bool hasPicture);

// Measures the edge item `word` on the context's picture and appends it
// with its sub-pixel geometry: edge-point as a point, edge-line and width as
// lines, edge-circle as a circle with its point on the circle to the right
// of the centre. Throws UsageError on a malformed word or without a picture;
// returns false, after a one-line message naming the item, when no edge is
// found.
bool AppendEdgeItem(MeasureData& data, std::string_view word, const EdgeItemContext& context);

} // namespace halvera
