#include "acquire/ui/VideoWindow.h"

#include "view/ui/ClipboardPicture.h"

#include <QCloseEvent>
#include <QPainter>

namespace halvera {

namespace {

constexpr int kRefreshMs = 40;

} // namespace

CVideoWindow::CVideoWindow(QWidget* owner, const QString& caption, FrameSource frames)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      frames_(std::move(frames)) {
    setWindowTitle(caption);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&refresh_, &QTimer::timeout, this, &CVideoWindow::refresh);
}

void CVideoWindow::present(std::optional<VideoSize> size) {
    const VideoSize shown = size.value_or(VideoSize{kDefaultWidth, kDefaultHeight});
    sized_ = size.has_value();
    QWidget* owner = parentWidget();
    const QPoint origin = owner ? owner->mapToGlobal(QPoint(0, 45)) : QPoint(0, 45);
    setGeometry(QRect(origin, QSize(shown.width, shown.height)));
    show();
    refresh();
    refresh_.start(kRefreshMs);
}

void CVideoWindow::refresh() {
    if (!isVisible()) {
        refresh_.stop();
        return;
    }
    const PackedDib picture = frames_();
    if (!picture)
        return;
    frame_ = PictureToImage(picture);
    if (!sized_ && !frame_.isNull()) {
        sized_ = true;
        resize(frame_.size());
    }
    update();
}

void CVideoWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (frame_.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(rect(), frame_);
}

void CVideoWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    refresh_.stop();
    emit closedByUser();
}

} // namespace halvera
