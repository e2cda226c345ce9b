#pragma once

#include "acquire/VideoSystem.h"
#include "image/PackedDib.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace halvera {

// A floating window that shows a video stream: captioned, sizable, with a
// system menu and a maximize box, owned by the main window and placed at the
// top left of its work area, clear of its menu bar and docked toolbars. It shows the stream's
// newest frame 25 times a second, stretched over its client area, and takes the stream's size when
// the first frame arrives.
class CVideoWindow : public QWidget {
    Q_OBJECT
public:
    using FrameSource = std::function<PackedDib()>;

    // The size a window starts at while the stream's size is not known.
    static constexpr int kDefaultWidth = 640;
    static constexpr int kDefaultHeight = 480;

    CVideoWindow(QWidget* owner, const QString& caption, FrameSource frames);

    // Places the window at the top left of its owner's work area with a
    // client area of `size` (640 x 480 when nothing) and shows it.
    void present(std::optional<VideoSize> size);
    // The frame shown now; null before the first.
    const QImage& shownFrame() const { return frame_; }

signals:
    // The user closed the window.
    void closedByUser();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void refresh();

    FrameSource frames_;
    QTimer refresh_;
    QImage frame_;
    bool sized_ = false;
};

} // namespace halvera
