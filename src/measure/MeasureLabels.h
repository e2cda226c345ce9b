#pragma once

#include "document/MeasureData.h"
#include "image/PixelGeometry.h"
#include "measure/RulerCalibration.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halvera {

// The value labels drawn beside measured items. The text comes from the
// stored image coordinates and the scale (for a stored item, its sub-pixel
// elements); the position (the text's top-left corner) from the item's window
// coordinates of its whole pixels, with halves as integer divisions
// truncating toward zero. Texts are UTF-8 with a decimal point in every locale.

// Image pixel to window pixel, as the view maps them.
using ImageToWindowMap = std::function<PixelPoint(PixelPoint)>;

struct MeasureLabel {
    PixelPoint position;
    std::string text;
    bool operator==(const MeasureLabel&) const = default;
};

// "(X, Y)" at (x, y - 18).
MeasureLabel PointLabel(PixelPoint p, MeasureScale scale, const ImageToWindowMap& toWindow);
// "(length)" at the middle of the pair, 16 above.
MeasureLabel PointPairLabel(PixelPoint pi, PixelPoint pj, MeasureScale scale,
                            const ImageToWindowMap& toWindow);
// "(Length)" at the middle of the line, 16 above.
MeasureLabel LineLabel(PixelPoint start, PixelPoint end, MeasureScale scale,
                       const ImageToWindowMap& toWindow);
// "(Area)" at (Cx, Cy - 18).
MeasureLabel CircleLabel(PixelPoint centre, PixelPoint onCircle, MeasureScale scale,
                         const ImageToWindowMap& toWindow);
// "(Area)" at the centre, 8 above.
MeasureLabel RectangleLabel(PixelRect rectangle, MeasureScale scale,
                            const ImageToWindowMap& toWindow);
// "(Angle°)" 30 window pixels from V in the direction Angle1 + Angle * 2 / 3.
MeasureLabel AngleLabel(PixelPoint a, PixelPoint vertex, PixelPoint b, MeasureScale scale,
                        const ImageToWindowMap& toWindow);

// The kinds in drawing order, as the batch tool names them.
enum class LabelledKind : int { Pair, Point, Line, Circle, Rectangle, Angle };
std::string_view LabelledKindName(LabelledKind kind);

struct LabelledItem {
    LabelledKind kind;
    MeasureLabel label;
};

// The label of stored item `item` of `kind` (for pairs, the pair's number),
// which must exist.
MeasureLabel StoredItemLabel(const MeasureData& data, LabelledKind kind, int item,
                             MeasureScale scale, const ImageToWindowMap& toWindow);

// The labels of every item in drawing order: point pairs, points, lines,
// circles, rectangles, angles, storage order within a kind.
std::vector<LabelledItem> MeasureLabels(const MeasureData& data, MeasureScale scale,
                                        const ImageToWindowMap& toWindow);

} // namespace halvera
