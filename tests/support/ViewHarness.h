#pragma once

#include "SyntheticImages.h"
#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "view/ui/Cursors.h"
#include "view/ui/MavView.h"

#include <QImage>
#include <QWidget>
#include <memory>

namespace halvera::testing {

// The colour of image pixel (x, y) in the harness's images: every pixel of an
// image up to 4096 x 4096 has its own colour, so a painted pixel tells which
// image pixel it shows.
Bgr CoordinateColour(int x, int y);
// The image pixel a painted colour shows (CoordinateColour backwards).
QPoint CoordinateOf(QRgb colour);

// The client point that shows image pixel (x, y) in `view` now.
QPoint ClientPointOf(CMavView& view, int x, int y);

// One document shown by a view in a plain window of the given size, the view
// made the active one. No main window exists.
class ViewHarness;

// The image pixel whose coordinate colour (CoordinateColour) pixel (x, y) of
// the harness's document now shows: where a warp took that pixel from.
QPoint ShownAt(ViewHarness& harness, int x, int y);

class ViewHarness {
public:
    ViewHarness(int width, int height, QSize viewSize = QSize(320, 240));
    ~ViewHarness();

    CMavDoc& doc() { return doc_; }
    CMavView& view() { return *view_; }
    QWidget* viewport() { return view_->viewport(); }

    // The view's window as it is painted now.
    QImage grab();

    // The cursor now set on the view.
    bool showsCursor(CursorId id) const;
    bool showsArrow() const;

    // A mouse move with buttons and keys held (QTest moves carry neither).
    void moveMouse(QPoint client, Qt::MouseButtons buttons = Qt::NoButton,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier);

private:
    AppSettings settings_;
    CMavDoc doc_;
    std::unique_ptr<QWidget> window_;
    CMavView* view_ = nullptr;
};

} // namespace halvera::testing
