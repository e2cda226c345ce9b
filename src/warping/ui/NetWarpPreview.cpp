#include "warping/ui/NetWarpPreview.h"

#include "document/MavDoc.h"
#include "platform/UserPrompts.h"
#include "view/ui/Cursors.h"
#include "view/ui/DrawDib.h"
#include "warping/WarpNetNode.h"

#include <QMouseEvent>
#include <QPainter>

namespace halvera {

namespace {

constexpr int kPreviewWidth = 420;
constexpr int kPreviewHeight = 300;

QPoint ToQPoint(PixelPoint p) {
    return QPoint(p.x, p.y);
}

PixelPoint ToPixel(QPoint p) {
    return PixelPoint{p.x(), p.y()};
}

// A circle outline of `side` pixels centred on `centre`.
QRect CircleAround(QPoint centre, int side) {
    return QRect(centre.x() - side / 2, centre.y() - side / 2, side - 1, side - 1);
}

} // namespace

CNetWarpPreview::CNetWarpPreview(CMavDoc& doc, std::function<void()> repaintView, QWidget* parent)
    : QWidget(parent), doc_(doc), repaintView_(std::move(repaintView)), roi_(doc.mask()) {
    setFixedSize(kPreviewWidth, kPreviewHeight);
    setMouseTracking(true);
}

QSize CNetWarpPreview::sizeHint() const {
    return QSize(kPreviewWidth, kPreviewHeight);
}

void CNetWarpPreview::BuildGrid(int netWidth, int netHeight) {
    grid_.Build(netWidth, netHeight, FitPreview(width(), height(), doc_.width(), doc_.height()));
    dragged_.reset();
    update();
}

void CNetWarpPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const PreviewRect& p = grid_.preview();
    DrawDib(painter, doc_.image(), QRect(0, 0, doc_.width(), doc_.height()),
            QRect(p.left, p.top, p.width, p.height));

    painter.setPen(QPen(Qt::red, 1));
    for (int c = 0; c < grid_.columns(); ++c)
        for (int r = 0; r < grid_.rows(); ++r) {
            const QPoint node = ToQPoint(grid_.moved({c, r}));
            if (c + 1 < grid_.columns())
                painter.drawLine(node, ToQPoint(grid_.moved({c + 1, r})));
            if (r + 1 < grid_.rows())
                painter.drawLine(node, ToQPoint(grid_.moved({c, r + 1})));
        }

    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::red, 0));
    for (int c = 1; c + 1 < grid_.columns(); ++c)
        for (int r = 1; r + 1 < grid_.rows(); ++r)
            painter.drawEllipse(CircleAround(ToQPoint(grid_.moved({c, r})), 5));
    if (dragged_) {
        painter.setPen(QPen(Qt::white, 0));
        painter.drawEllipse(CircleAround(ToQPoint(grid_.moved(*dragged_)), 7));
    }
}

void CNetWarpPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragged_ = grid_.InteriorNodeAt(ToPixel(event->position().toPoint()));
    if (!dragged_)
        return;
    setCursor(CursorFor(CursorId::Adjust));
    update();
}

void CNetWarpPreview::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!dragged_ || !(event->buttons() & Qt::LeftButton)) {
        if (grid_.InteriorNodeAt(ToPixel(at)))
            setCursor(CursorFor(CursorId::Adjust));
        else
            unsetCursor();
        return;
    }
    const PreviewRect& p = grid_.preview();
    if (at.x() < p.left || at.y() < p.top || at.x() >= p.right() || at.y() >= p.bottom())
        return;
    grid_.MoveNode(*dragged_, ToPixel(at));
    update();
}

void CNetWarpPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragged_)
        return;
    const NetNode node = *dragged_;
    dragged_.reset();
    update();
    {
        const WaitCursor wait;
        WarpNetNode(grid_, node, doc_.image(), doc_.working(), roi_);
    }
    update();
    if (repaintView_)
        repaintView_();
}

} // namespace halvera
