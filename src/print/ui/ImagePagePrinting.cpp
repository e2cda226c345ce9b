#include "print/ui/ImagePagePrinting.h"

#include "view/ui/DrawDib.h"

#include <QPainter>
#include <QPrinter>

namespace halvera {

PaperMillimetres PrintableMillimetres(const QPrinter& printer) {
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    if (!(printable.width() >= 1.0) || !(printable.height() >= 1.0))
        return {};
    return {printable.width(), printable.height()};
}

bool PrintImagePage(QPrinter& printer, const PrintLayout& layout, const CDibImage& image,
                    PrintTitle title) {
    printer.setDocName(QStringLiteral("Halvera"));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int deviceWidth = printer.width();
    const int deviceHeight = printer.height();
    const DeviceRect target = layout.ToDevice(layout.imageRect(), deviceWidth, deviceHeight);
    if (!image.empty())
        DrawDib(painter, image, QRect(0, 0, image.width(), image.height),
                QRect(static_cast<int>(target.left), static_cast<int>(target.top),
                      static_cast<int>(target.width), static_cast<int>(target.height)));
    // The title in layout units, on the scale of the image.
    painter.scale(layout.DevicePerUnitX(deviceWidth), layout.DevicePerUnitY(deviceHeight));
    DrawPrintTitle(painter, title);
    if (!painter.end()) {
        printer.abort();
        return false;
    }
    return true;
}

} // namespace halvera
