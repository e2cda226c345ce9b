#include "measure/ui/GraphCommands.h"

#include "document/MavDoc.h"
#include "measure/MeasureGraphCommands.h"
#include "measure/ui/MeasureDrawer.h"
#include "platform/UserPrompts.h"
#include "print/ui/PrintCommands.h"
#include "view/ui/MavView.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <memory>
#include <new>

namespace halvera {

namespace {

// The view's label font, never smoothed, so every text pixel is exactly the
// text colour and a text in the key colour leaves no trace.
void PaintLabel(GraphSurface& surface, PixelPoint position, std::string_view text,
                GraphColour colour) {
    QImage wrapped(surface.row(0), surface.width(), surface.height(), surface.stride(),
                   QImage::Format_BGR888);
    QPainter painter(&wrapped);
    QFont font = MeasureLabelFont();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(QColor(colour.red, colour.green, colour.blue));
    painter.drawText(QRect(position.x, position.y, 1000, 100),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void PrepareGraphCommand(CMavView& view) {
    view.endTool();
    view.stopOutlineTimer();
}

} // namespace

void GraphMergeCommand(CMavView& view) {
    PrepareGraphCommand(view);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    MergeMeasurements(view.document(), view.selection(), PaintLabel);
    QGuiApplication::restoreOverrideCursor();
    view.repaintView();
    view.repaintIndexPanel();
}

void BuildGraphCommand(CMavView& view) {
    PrepareGraphCommand(view);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    BuildMeasureGraph(view.document(), view.selection(), PaintLabel);
    QGuiApplication::restoreOverrideCursor();
    view.repaintView();
    view.repaintIndexPanel();
}

void PrintGraphCommand(CMavView& view) {
    PrepareGraphCommand(view);
    CMavDoc& doc = view.document();
    if (!HasMeasureItems(doc.measureData())) {
        ShowMessage("There is no data to output!", MessageIcon::None);
        return;
    }
    const CDibImage image = doc.image();
    const size_t size = static_cast<size_t>(image.bitsSize);
    const std::unique_ptr<uint8_t[]> kept(new (std::nothrow) uint8_t[size]);
    if (!kept)
        return;
    std::memcpy(kept.get(), image.bits, size);
    DrawGraphForPrinting(doc, PaintLabel);
    RunImagePrintDialog(view, image);
    std::memcpy(image.bits, kept.get(), size);
    view.repaintView();
}

} // namespace halvera
