#pragma once

#include "document/MeasureData.h"
#include "image/PixelGeometry.h"
#include "measure/MeasureColors.h"
#include "measure/MeasureLabels.h"
#include "measure/RulerCalibration.h"

#include <QColor>
#include <QFont>

class QPainter;

namespace halvera {

class CMavView;
struct ToleranceTable;

// Draws measured items over the view's image, in the view's paint, in window
// (logical) coordinates. Created for one drawing pass: it reads the scale,
// the four measurement colours and the tolerances the results panel judges
// with (while its "Error detect" is on) once, on creation.
//
// Each item is its shape, then its label. Lines walked pixel by pixel include
// both ends; "pen" lines (crosses, the pair line) leave out their last pixel;
// squares are 7 x 7 outlines around a defining point.
class CMeasureDrawer {
public:
    CMeasureDrawer(CMavView& view, QPainter& painter);
    ~CMeasureDrawer();
    CMeasureDrawer(const CMeasureDrawer&) = delete;
    CMeasureDrawer& operator=(const CMeasureDrawer&) = delete;

    // Every item in drawing order: point pairs, points, lines, circles,
    // rectangles, angles; the shapes at their whole pixels, the labels with
    // the values of their sub-pixel elements. The label of an item the
    // results panel judges an Error (ItemJudgedError) is drawn in the error
    // colour (MeasureErrorColorOf), every other one in the text colour.
    void DrawAll(const MeasureData& data);

    // One item of each kind, given in image pixels.
    void DrawPointPair(PixelPoint pi, PixelPoint pj);
    void DrawPoint(PixelPoint p);
    void DrawLine(PixelPoint start, PixelPoint end);
    void DrawCircle(PixelPoint centre, PixelPoint onCircle);
    void DrawRectangle(PixelRect rectangle);
    void DrawAngle(PixelPoint a, PixelPoint vertex, PixelPoint b);

    // The line tools' guides for the line S-E: the segment and a perpendicular
    // through each end, `length` window pixels to either side, in the line colour.
    void DrawLineGuides(PixelPoint start, PixelPoint end, int length);
    // The labels alone, for the item a creating tool is drawing.
    void DrawLineLabel(PixelPoint start, PixelPoint end);
    void DrawCircleLabel(PixelPoint centre, PixelPoint onCircle);
    void DrawRectangleLabel(PixelRect rectangle);

    // The three point circle tool's mark on a clicked point.
    void DrawClickMarker(PixelPoint p);

private:
    PixelPoint toWindow(PixelPoint image) const;
    // The shapes without their labels, in image pixels.
    void pointPairShape(PixelPoint pi, PixelPoint pj);
    void pointShape(PixelPoint p);
    void lineShape(PixelPoint start, PixelPoint end);
    void circleShape(PixelPoint centre, PixelPoint onCircle);
    void rectangleShape(PixelRect rectangle);
    void angleShape(PixelPoint a, PixelPoint vertex, PixelPoint b);
    void drawLabel(const MeasureLabel& label) { drawLabel(label, text_); }
    void drawLabel(const MeasureLabel& label, const QColor& colour);
    const QColor& storedItemLabelColour(const MeasureData& data, LabelledKind kind, int item) const;
    void setPixels(const QColor& colour, const QPolygon& pixels);
    void walkLine(const QColor& colour, PixelPoint from, PixelPoint to);
    void penLine(const QColor& colour, PixelPoint from, PixelPoint to);
    void square(PixelPoint at);
    void smallCross(PixelPoint at);
    void largeCross(PixelPoint at);
    void fullCross(PixelPoint at);

    CMavView& view_;
    QPainter& painter_;
    MeasureScale scale_;
    QColor coordinate_, line_, point_, text_, error_;
    ImageToWindowMap toWindow_;
    const ToleranceTable* judging_; // null: no item is judged
};

// Arial 8 pt for the labels; Debian's metric-compatible Liberation Sans
// stands in when Arial is not installed.
QFont MeasureLabelFont();

} // namespace halvera
