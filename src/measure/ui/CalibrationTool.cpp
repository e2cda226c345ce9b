#include "measure/ui/CalibrationTool.h"

#include "document/MavDoc.h"
#include "measure/BresenhamLine.h"
#include "view/ui/FrameServices.h"
#include "view/ui/MavView.h"

#include <QPainter>
#include <cstdlib>

namespace halvera {

namespace {

constexpr int kTick = 6; // half length of the ticks; the legs start this far before the origin
constexpr int kHandleAlong = 6;   // handle size along a leg
constexpr int kHandleAcross = 16; // handle size across a leg

void InvertLine(QPainter& painter, PixelPoint from, PixelPoint to) {
    QPolygon pixels;
    ForEachLinePixel(from, to, [&](PixelPoint p) { pixels << QPoint(p.x, p.y); });
    painter.drawPoints(pixels);
}

} // namespace

CCalibrationTool::CCalibrationTool(CMavView& view) {
    const AppSettings& settings = view.document().settings();
    const int scaledX = view.imageLengthToWindow(settings.xPixelRulerData);
    const int scaledY = view.imageLengthToWindow(settings.yPixelRulerData);
    const QSize client = view.viewport()->size();
    origin_ = Snapped(view, client.width() / 2, client.height() / 2);
    x1_ = origin_.x + scaledX;
    y2_ = origin_.y + scaledY;
    view.repaintView();
    if (FrameServices* frame = Frame())
        frame->showCalibrationBar();
}

CCalibrationTool::~CCalibrationTool() {
    if (FrameServices* frame = Frame())
        frame->hideCalibrationBar();
}

PixelPoint CCalibrationTool::Snapped(CMavView& view, int x, int y) {
    const QPoint window = view.imageToWindow(view.windowToImage(QPoint(x, y)));
    return {window.x(), window.y()};
}

void CCalibrationTool::OnLButtonDown(CMavView& view, int flags, int x, int y) {
    if (!(flags & kMouseLeftButton) || !view.viewport()->rect().contains(x, y))
        return;
    last_ = Snapped(view, x, y);
    if (std::abs(last_.x - x1_) <= kHandleAlong && std::abs(last_.y - origin_.y) <= kHandleAcross)
        part_ = HorizontalEnd;
    else if (std::abs(last_.x - origin_.x) <= kHandleAcross &&
             std::abs(last_.y - y2_) <= kHandleAlong)
        part_ = VerticalEnd;
    else
        part_ = Whole;
    if (FrameServices* frame = Frame())
        frame->showCalibrationBar();
    view.captureMouse();
}

void CCalibrationTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Calibration);
    if (!(flags & kMouseLeftButton) || !view.viewport()->rect().contains(x, y) || part_ == None)
        return;
    const PixelPoint at = Snapped(view, x, y);
    switch (part_) {
    case HorizontalEnd:
        if (at.x > origin_.x)
            x1_ = at.x;
        break;
    case VerticalEnd:
        if (at.y > origin_.y)
            y2_ = at.y;
        break;
    case Whole:
        origin_.x += at.x - last_.x;
        origin_.y += at.y - last_.y;
        x1_ += at.x - last_.x;
        y2_ += at.y - last_.y;
        break;
    }
    last_ = at;
    reportRuler(view);
    view.repaintView();
}

void CCalibrationTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    last_ = Snapped(view, x, y);
    view.releaseCapture();
}

// Four one-pixel lines, each pixel inverted: the horizontal leg from 6 left
// of the origin to its end, a tick across that end, the vertical leg from 6
// above the origin to its end, and a tick across that end.
void CCalibrationTool::Draw(CMavView&, QPainter& painter) {
    if (!shown_)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0));
    const int x0 = origin_.x;
    const int y0 = origin_.y;
    InvertLine(painter, {x0 - kTick, y0}, {x1_, y0});
    InvertLine(painter, {x1_, y0 - kTick}, {x1_, y0 + kTick});
    InvertLine(painter, {x0, y0 - kTick}, {x0, y2_});
    InvertLine(painter, {x0 - kTick, y2_}, {x0 + kTick, y2_});
    painter.restore();
}

void CCalibrationTool::Finish(CMavView& view) {
    shown_ = false;
    view.repaintView();
}

void CCalibrationTool::reportRuler(CMavView& view) const {
    FrameServices* frame = Frame();
    if (!frame)
        return;
    const auto toImage = [&view](PixelPoint logical) {
        const QPoint image = view.windowToImage(view.logicalToClient(QPoint(logical.x, logical.y)));
        return PixelPoint{image.x(), image.y()};
    };
    frame->updateCalibrationRuler(toImage(origin_), toImage(horizontalEnd()),
                                  toImage(verticalEnd()));
}

void DimensionCalibrationCommand(CMavView& view) {
    view.startTool(OutlineAnimation::Start, ToolMode::Calibration, [&view] {
        view.selection().words[4] = 0;
        return std::make_unique<CCalibrationTool>(view);
    });
}

void RestoreCalibrationTool(CMavView& view) {
    if (view.toolMode() == ToolMode::Calibration)
        DimensionCalibrationCommand(view);
}

void EndCalibration(CMavView& view) {
    view.endTool();
    view.startOutlineTimer();
    view.repaintView();
}

} // namespace halvera
