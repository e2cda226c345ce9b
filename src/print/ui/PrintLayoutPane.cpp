#include "print/ui/PrintLayoutPane.h"

#include "view/ui/Cursors.h"
#include "view/ui/DrawDib.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace halvera {

CPrintLayoutPane::CPrintLayoutPane(PrintLayout& layout, PrintTitle& title, const CDibImage& image,
                                   QWidget* parent)
    : QWidget(parent), layout_(layout), title_(title), image_(image) {
    setMouseTracking(true);
    setMinimumSize(300, 400);
}

void CPrintLayoutPane::setGrabbedPart(int part) {
    grabbed_ = part;
    update();
}

PageView CPrintLayoutPane::pageView() const {
    return FitPageView(layout_.paperWidth(), layout_.paperHeight(), width(), height());
}

QPoint CPrintLayoutPane::toLayout(QPoint pane) const {
    const PageView page = pageView();
    if (page.width <= 0 || page.height <= 0)
        return {};
    return {static_cast<int>(static_cast<long long>(pane.x() - page.left) * layout_.paperWidth() /
                             page.width),
            static_cast<int>(static_cast<long long>(pane.y() - page.top) * layout_.paperHeight() /
                             page.height)};
}

QPoint CPrintLayoutPane::toPane(QPoint layout) const {
    const PageView page = pageView();
    return {page.left + static_cast<int>(static_cast<long long>(layout.x()) * page.width /
                                         layout_.paperWidth()),
            page.top + static_cast<int>(static_cast<long long>(layout.y()) * page.height /
                                        layout_.paperHeight())};
}

void CPrintLayoutPane::paintEvent(QPaintEvent*) {
    const PageView page = pageView();
    QImage sheet(page.width, page.height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        // Layout units onto the page.
        painter.scale(static_cast<double>(page.width) / layout_.paperWidth(),
                      static_cast<double>(page.height) / layout_.paperHeight());
        const LayoutRect& r = layout_.imageRect();
        if (!image_.empty())
            DrawDib(painter, image_, QRect(0, 0, image_.width(), image_.height),
                    QRect(r.left, r.top, r.width(), r.height()));
        DrawPrintTitle(painter, title_);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 0));
        if (grabbed_ >= 0 && grabbed_ <= kPartBody) {
            painter.drawRect(QRect(r.left, r.top, r.width(), r.height()));
            painter.setBrush(Qt::black);
            for (int handle = 0; handle < kHandleCount; ++handle) {
                int x = 0, y = 0;
                layout_.HandlePosition(handle, x, y);
                painter.drawRect(QRect(x - 5, y - 5, 10, 10));
            }
        } else if (grabbed_ == kPartTitle) {
            const LayoutRect& t = title_.rect;
            painter.drawRect(QRect(t.left, t.top, t.width(), t.height()));
        }
    }
    QPainter pane(this);
    pane.fillRect(rect(), palette().window());
    pane.drawImage(page.left, page.top, sheet);
}

void CPrintLayoutPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    last_ = toLayout(event->position().toPoint());
    grabbed_ = layout_.PartAt(last_.x(), last_.y(), title_.rect);
    update();
}

void CPrintLayoutPane::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = toLayout(event->position().toPoint());
    if (!(event->buttons() & Qt::LeftButton)) {
        setCursorFor(layout_.PartAt(at.x(), at.y(), title_.rect));
        return;
    }
    if (grabbed_ == kPartTitle) {
        const int dx = at.x() - last_.x();
        const int dy = at.y() - last_.y();
        LayoutRect& t = title_.rect;
        t = {t.left + dx, t.top + dy, t.right + dx, t.bottom + dy};
        title_.placedByUser = true;
        update();
    } else if (grabbed_ != kPartNone) {
        const bool free = event->modifiers() & Qt::ControlModifier;
        layout_.Drag(grabbed_, at.x(), at.y(), last_.x(), last_.y(), free);
        update();
        emit imageRectChanged();
    }
    last_ = at;
}

void CPrintLayoutPane::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        grabbed_ = kPartNone;
}

void CPrintLayoutPane::setCursorFor(int part) {
    static constexpr CursorId kHandleCursors[kHandleCount] = {
        CursorId::ResizeFalling,    CursorId::ResizeVertical,  CursorId::ResizeRising,
        CursorId::ResizeHorizontal, CursorId::ResizeFalling,   CursorId::ResizeVertical,
        CursorId::ResizeRising,     CursorId::ResizeHorizontal};
    if (part >= 0 && part < kHandleCount)
        setCursor(CursorFor(kHandleCursors[part]));
    else if (part == kPartBody || part == kPartTitle)
        setCursor(CursorFor(CursorId::Move));
    else
        unsetCursor();
}

} // namespace halvera
