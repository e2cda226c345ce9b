#include "ViewHarness.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace halvera::testing {

Bgr CoordinateColour(int x, int y) {
    return {static_cast<uint8_t>(((x >> 8) << 4) | (y >> 8)), static_cast<uint8_t>(y & 255),
            static_cast<uint8_t>(x & 255)};
}

QPoint CoordinateOf(QRgb colour) {
    return {qRed(colour) | ((qBlue(colour) >> 4) << 8),
            qGreen(colour) | ((qBlue(colour) & 15) << 8)};
}

QPoint ShownAt(ViewHarness& harness, int x, int y) {
    const Bgr c = PixelAt(harness.doc().image(), x, y);
    return CoordinateOf(qRgb(c.red, c.green, c.blue));
}

QPoint ClientPointOf(CMavView& view, int x, int y) {
    return view.logicalToClient(view.imageToWindow(QPoint(x, y)));
}

ViewHarness::ViewHarness(int width, int height, QSize viewSize) : doc_(settings_) {
    settings_.ImageWidth = width;
    settings_.ImageHeight = height;
    if (!doc_.OnNewDocument())
        throw std::runtime_error("the test document could not be created");
    const CDibImage image = doc_.image();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(image, x, y, CoordinateColour(x, y));

    window_ = std::make_unique<QWidget>();
    window_->resize(viewSize);
    view_ = new CMavView(doc_, window_.get());
    view_->setGeometry(QRect(QPoint(0, 0), viewSize));
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        throw std::runtime_error("the test window was not shown");
    QApplication::processEvents();
    view_->setActive(true);
}

ViewHarness::~ViewHarness() = default;

QImage ViewHarness::grab() {
    return view_->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool ViewHarness::showsCursor(CursorId id) const {
    const QCursor shown = view_->viewport()->cursor();
    return shown.shape() == Qt::BitmapCursor &&
           shown.pixmap().cacheKey() == CursorFor(id).pixmap().cacheKey();
}

bool ViewHarness::showsArrow() const {
    return view_->viewport()->cursor().shape() == Qt::ArrowCursor;
}

void ViewHarness::moveMouse(QPoint client, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers) {
    QMouseEvent move(QEvent::MouseMove, QPointF(client),
                     view_->viewport()->mapToGlobal(QPointF(client)), Qt::NoButton, buttons,
                     modifiers);
    QApplication::sendEvent(view_->viewport(), &move);
}

} // namespace halvera::testing
