#include "acquire/ui/VideoWindow.h"

#include "view/ui/ClipboardPicture.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QPainter>

namespace halvera {

namespace {

constexpr int kRefreshMs = 40;

// The top left corner of the owner's work area: below its menu bar and the
// toolbars docked at its top, right of those docked at its left. A window
// placed there leaves every docked toolbar button within reach.
QPoint WorkAreaOrigin(QWidget* owner) {
    if (auto* main = qobject_cast<QMainWindow*>(owner); main && main->centralWidget())
        return main->centralWidget()->mapToGlobal(QPoint(0, 0));
    return owner->mapToGlobal(QPoint(0, 0));
}

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
    resize(shown.width, shown.height);
    // move() places the window's frame, title bar included, so no part of
    // the frame reaches up over the toolbars either.
    if (QWidget* owner = parentWidget())
        move(WorkAreaOrigin(owner));
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
