#include "app/ui/IndexImagePanel.h"

#include "app/IndexPanelLayout.h"
#include "document/MavDoc.h"
#include "view/ui/DrawDib.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace halvera {

namespace {

const QColor kFrameGrey(128, 128, 128);
const QColor kTextColour(0, 0, 50);

// A 3-D frame one pixel wide: `topLeft` on the top and left edges.
void Draw3dFrame(QPainter& painter, const QRect& r, const QColor& topLeft,
                 const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

// The largest rectangle of the image's aspect ratio that fits into `box`, centred.
QRect FitCentred(const QSize& imageSize, const QRect& box) {
    if (imageSize.isEmpty() || box.isEmpty())
        return {};
    const QSize fitted = imageSize.scaled(box.size(), Qt::KeepAspectRatio);
    const QSize size(std::max(1, fitted.width()), std::max(1, fitted.height()));
    return QRect(box.left() + (box.width() - size.width()) / 2,
                 box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
}

} // namespace

CIndexImagePanel::CIndexImagePanel(QWidget* parent)
    : QWidget(parent, Qt::Tool), scrollBar_(new QScrollBar(Qt::Horizontal, this)) {
    setWindowTitle(QStringLiteral("Index image"));
    const int height = kClientHeight + scrollBar_->sizeHint().height();
    setMinimumSize(kMinWidth, height);
    setMaximumHeight(height);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(1);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int position) {
        first_ = index_panel::FirstForScrollPosition(position, static_cast<int>(documents_.size()),
                                                     scrollBar_->maximum());
        update();
    });
    updateScrollBar();
}

void CIndexImagePanel::setDocuments(std::vector<const CMavDoc*> documents) {
    const CMavDoc* active = active_ >= 0 && active_ < static_cast<int>(documents_.size())
                                ? documents_[active_]
                                : nullptr;
    documents_ = std::move(documents);
    auto found = std::find(documents_.begin(), documents_.end(), active);
    active_ = found == documents_.end() ? -1 : static_cast<int>(found - documents_.begin());
    first_ = std::clamp(first_, 0, std::max(0, static_cast<int>(documents_.size()) - 1));
    updateScrollBar();
    update();
}

void CIndexImagePanel::selectDocument(const CMavDoc* document) {
    auto found = std::find(documents_.begin(), documents_.end(), document);
    if (found == documents_.end())
        return;
    active_ = static_cast<int>(found - documents_.begin());
    const int count = static_cast<int>(documents_.size());
    first_ = index_panel::FirstVisibleForSelection(active_, first_, visibleCells(), count);
    if (count >= 2) {
        const QSignalBlocker blocker(scrollBar_);
        scrollBar_->setValue(
            index_panel::ScrollPositionForFirst(first_, count, scrollBar_->maximum()));
    }
    update();
}

int CIndexImagePanel::stripHeight() const {
    return height() - scrollBar_->sizeHint().height();
}

int CIndexImagePanel::cellWidth() const {
    return index_panel::CellWidth(stripHeight());
}

int CIndexImagePanel::visibleCells() const {
    return index_panel::VisibleCells(width(), cellWidth());
}

QRect CIndexImagePanel::cellRect(int visibleIndex) const {
    const int width = cellWidth();
    return QRect(visibleIndex * width, 0, width, stripHeight());
}

void CIndexImagePanel::updateScrollBar() {
    const int count = static_cast<int>(documents_.size());
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setRange(0, std::max(0, count - 1));
    scrollBar_->setValue(index_panel::ScrollPositionForFirst(first_, count, scrollBar_->maximum()));
}

void CIndexImagePanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int barHeight = scrollBar_->sizeHint().height();
    scrollBar_->setGeometry(0, height() - barHeight, width(), barHeight);
}

void CIndexImagePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int count = static_cast<int>(documents_.size());
    const int visible = visibleCells();
    for (int i = 0; i < visible && first_ + i < count; ++i)
        paintCell(painter, cellRect(i), *documents_[first_ + i], first_ + i == active_);
}

void CIndexImagePanel::paintCell(QPainter& painter, const QRect& cell, const CMavDoc& document,
                                 bool active) {
    Draw3dFrame(painter, cell, Qt::white, kFrameGrey);
    const QRect inner = cell.adjusted(10, 10, -10, -30);
    if (active)
        Draw3dFrame(painter, inner, QColor(255, 0, 0), QColor(160, 0, 0));
    else
        Draw3dFrame(painter, inner, kFrameGrey, Qt::white);

    const CDibImage image = document.image();
    const QRect picture = cell.adjusted(15, 15, -15, -35);
    const QSize imageSize(image.width(), image.height);
    DrawDib(painter, image, QRect(QPoint(0, 0), imageSize), FitCentred(imageSize, picture));

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(kTextColour);
    const QRect sizeLine(cell.left(), cell.bottom() - 15, cell.width(), 15);
    painter.drawText(sizeLine, Qt::AlignCenter | Qt::TextSingleLine,
                     QStringLiteral("(%1X%2)").arg(image.width()).arg(image.height));
    painter.drawText(sizeLine.translated(0, -15), Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromStdString(document.title()));
}

void CIndexImagePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int width = cellWidth();
    const int x = event->position().toPoint().x();
    if (width <= 0 || x < 0 || event->position().y() >= stripHeight())
        return;
    const int index = first_ + x / width;
    if (x / width >= visibleCells() || index >= static_cast<int>(documents_.size()))
        return;
    active_ = index;
    update();
    emit documentActivated(documents_[index]);
}

} // namespace halvera
