#pragma once

#include "image/PixelGeometry.h"

#include <QString>
#include <vector>

namespace halvera {

class CMavDoc;
class MeasureResultsPanel;

// What image windows ask of the main window: status-bar panes and the
// panels. Views and tools call it through Frame(); without a main window
// (the batch tool, tests of a lone view) Frame() is null and these calls are
// skipped.
class FrameServices {
public:
    virtual ~FrameServices() = default;

    // Status bar panes 0..3; pane 3 shows the view's zoom and pointer position.
    virtual void setStatusPaneText(int pane, const QString& text) = 0;

    // The index image panel: rebuild its document list, mark a document as
    // the active one, repaint the thumbnails after an image change.
    virtual void refreshIndexPanel() = 0;
    virtual void selectInIndexPanel(const CMavDoc* document) = 0;
    virtual void repaintIndexPanel() = 0;

    // The floating calibration bar and data panel follow the calibration and
    // measurement tools.
    virtual void showCalibrationBar() = 0;
    virtual void hideCalibrationBar() = 0;
    virtual void showDataPanel() = 0;
    virtual void hideDataPanel() = 0;

    // The calibration tool's ruler moved: its origin and the ends of its
    // horizontal and vertical legs, in image pixels, for the calibration bar.
    virtual void updateCalibrationRuler(PixelPoint origin, PixelPoint horizontalEnd,
                                        PixelPoint verticalEnd) = 0;

    // The results panel the measurement tools report their changes to.
    virtual MeasureResultsPanel& measureResults() = 0;

    // The open images, in the order of their windows (the image arithmetic
    // offers them as operands).
    virtual std::vector<CMavDoc*> openDocuments() const = 0;
};

// The main window's services, or null when there is no main window.
FrameServices* Frame();

// Installs `services` as Frame() for the lifetime of this object (the main
// window holds one), then puts back the previous ones.
class ScopedFrameServices {
public:
    explicit ScopedFrameServices(FrameServices& services);
    ~ScopedFrameServices();
    ScopedFrameServices(const ScopedFrameServices&) = delete;
    ScopedFrameServices& operator=(const ScopedFrameServices&) = delete;

private:
    FrameServices* previous_;
};

} // namespace halvera
