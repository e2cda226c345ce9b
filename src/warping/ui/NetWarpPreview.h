#pragma once

#include "image/RegionOfInterest.h"
#include "warping/NetGrid.h"

#include <QWidget>
#include <functional>
#include <optional>

namespace halvera {

class CMavDoc;

// The preview of the "Warping" dialog: the document's image fitted into the
// control with the net laid over it in red. Dragging an interior node and
// letting go re-renders the four cells around it in the document's image,
// from the working copy, and asks for the view to repaint.
class CNetWarpPreview : public QWidget {
public:
    CNetWarpPreview(CMavDoc& doc, std::function<void()> repaintView, QWidget* parent = nullptr);

    // Lays out a fresh grid of the net size (kept within 12..100) over the image.
    void BuildGrid(int netWidth, int netHeight);
    const NetGrid& grid() const { return grid_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CMavDoc& doc_;
    std::function<void()> repaintView_;
    // The selection does not change while the dialog is open; looking it up
    // once spares a scan of the whole mask at every release.
    RegionOfInterest roi_;
    NetGrid grid_;
    std::optional<NetNode> dragged_;
};

} // namespace halvera
