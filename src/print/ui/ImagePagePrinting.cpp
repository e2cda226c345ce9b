#include "print/ui/ImagePagePrinting.h"

#include "view/ui/DrawDib.h"

#include <QPainter>
#include <QPrinter>

namespace halvera {

void PrintableMillimetres(const QPrinter& printer, int& width, int& height) {
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    width = static_cast<int>(printable.width());
    height = static_cast<int>(printable.height());
    if (width <= 0 || height <= 0) {
        width = 200;
        height = 287;
    }
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
    // The title in layout units: the paper's extent mapped onto the page.
    painter.scale(static_cast<double>(deviceWidth) / layout.paperWidth(),
                  static_cast<double>(deviceHeight) / layout.paperHeight());
    DrawPrintTitle(painter, title);
    if (!painter.end()) {
        printer.abort();
        return false;
    }
    return true;
}

} // namespace halvera
