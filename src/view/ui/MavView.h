#pragma once

#include "document/SelectionRecord.h"
#include "view/ViewGeometry.h"
#include "view/ui/CommandMap.h"
#include "view/ui/CommandTarget.h"
#include "view/ui/Cursors.h"
#include "view/ui/MouseTool.h"
#include "view/ui/RoiOutline.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QImage>
#include <functional>
#include <memory>
#include <vector>

namespace halvera {

class CMavDoc;

// Which family of tool the last tool command chose. Only Calibration is read
// back (by the calibration tool's restore).
namespace ToolMode {
inline constexpr int None = 0;
inline constexpr int Viewing = 1; // zoom tool, magnifying glass, eyedropper
inline constexpr int Calibration = 3;
inline constexpr int Annotation = 150;
inline constexpr int Paste = 200;
inline constexpr int Warping = 210;
inline constexpr int Marquee = 250; // rectangular and elliptical marquee, ROI cut
inline constexpr int Lasso = 251;
} // namespace ToolMode

// What a tool command does with the selection outline animation.
enum class OutlineAnimation { Start, Stop };

// How an image command runs (see runImageCommand).
struct ImageCommand {
    // Copy the main image into the working copy first: the operation reads
    // the unchanged image from there.
    bool readsWorkingCopy = true;
    // StepKind::Image; StepKind::ImageAndMask for operations that move the
    // selection with the image (the flips); StepKind::Mask for selection-only
    // commands.
    StepKind kind = StepKind::Image;
    // Image commands start the outline animation; clearing the selection stops it.
    OutlineAnimation animation = OutlineAnimation::Start;
};

// The one view of an image document: a scrolling window that shows the main
// image at one of 24 zoom factors, centred when smaller than the window,
// animates the selection outline, reports the zoom and pointer position for
// the status bar, and owns the one current mouse tool, to which it forwards
// its input while it is the active view.
//
// It writes status pane 3 and repaints the index image panel through Frame()
// when there is a main window, and also tells observers through its signals.
class CMavView : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int kOutlineTimerId = 1105;
    static constexpr int kOutlineTimerPeriodMs = 40;
    static constexpr int kStatusPane = 3;

    using ImageOperation = std::function<void(const CDibImage& image, const CDibImage& working,
                                              const CDibImage& mask)>;

    CMavView(CMavDoc& doc, QWidget* parent = nullptr);
    ~CMavView() override;

    CMavDoc& document() const { return doc_; }
    // The selection-state record handed to the undo history with every step.
    SelectionRecord& selection() { return selection_; }
    const SelectionRecord& selection() const { return selection_; }

    // ---- Zoom and placement
    int zoomIndex() const { return zoomIndex_; }
    double zoomFactor() const { return ZoomFactor(zoomIndex_); }
    double zoomPercent() const { return zoomFactor() * 100.0; }
    // One zoom step to `index`, keeping the image point under the client
    // point `click` in the middle of the window where the image is larger than
    // it. False, with nothing changed, when the index is outside 0..23 or a
    // side of the scaled image would be outside 1..32767 pixels.
    bool zoomTo(int index, QPoint click);

    // Zoom, client size, scroll total (the scaled image) and scroll position.
    ViewPlacement placement() const;
    QPoint scrollPosition() const;
    void scrollTo(QPoint position); // clamped to the scroll range

    // Conversions of the tools (see ViewPlacement for the rules). Window points
    // given to windowToImage are client pixels; imageToWindow and
    // imageRectToWindow give logical points (client + scroll position).
    QPoint windowToImage(QPoint client) const;
    QPoint imageToWindow(QPoint image) const;
    // Inclusive image rectangle to the window rectangle covering its pixels.
    QRect imageRectToWindow(const QRect& image) const;
    int imageLengthToWindow(int length) const;
    QPoint clientToLogical(QPoint client) const { return client + scrollPosition(); }
    QPoint logicalToClient(QPoint logical) const { return logical - scrollPosition(); }
    // The displayed image in client pixels (may reach past the client area).
    QRect displayedImageRect() const;
    bool isOverImage(QPoint client) const { return displayedImageRect().contains(client); }
    // Source (image pixels) and destination (logical) rectangles of the last
    // paint.
    const PaintRects& lastPaintRects() const { return paintRects_; }

    // ---- Tools
    CMouseTool* tool() const { return tool_.get(); }
    // Ends the current tool (Finish, delete) and installs `tool`.
    void setTool(std::unique_ptr<CMouseTool> tool);
    // The common tool command: end the current tool, start or stop the outline
    // animation, copy the main image into the working copy when asked, create
    // the new tool (a null result leaves the view without one) and set the
    // tool mode.
    void startTool(OutlineAnimation animation, int toolMode,
                   const std::function<std::unique_ptr<CMouseTool>()>& create,
                   bool copyToWorking = false);
    // Calls Finish on the current tool, deletes it, sets the tool mode to 0. A
    // tool may end itself from inside one of its own operations.
    void endTool();
    void endToolAndRepaint();
    int toolMode() const { return toolMode_; }
    void setToolMode(int mode) { toolMode_ = mode; }

    // Mouse cursor over the view.
    void setToolCursor(CursorId id);
    void setArrowCursor();
    // Keeps the pointer's messages coming while it is outside the window,
    // until releaseCapture.
    void captureMouse();
    void releaseCapture();

    // ---- Active view
    bool isActive() const { return active_; }
    // Called by the frame when this view becomes, or stops being, the active
    // view; input reaches the tool only while it is active.
    void setActive(bool active);

    // ---- Selection outline animation (timer 1105, every 40 ms)
    void startOutlineTimer();
    void stopOutlineTimer();
    bool outlineTimerOn() const { return outlineTimer_.isActive(); }
    const RoiOutline& outline() const { return outline_; }

    // ---- Painting
    // Repaints the whole view from the document (and drops a frame shown by
    // presentFrame).
    void repaintView();
    // Asks the main window to repaint the index image panel.
    void repaintIndexPanel();
    // Draws the main image at its on-screen place and scale, in client
    // coordinates, with nothing over it: for tools composing their own picture.
    void paintImage(QPainter& painter) const;
    // Shows `frame` (client size) instead of the image until the view is next
    // repainted, scrolled or resized; for tools that compose the whole window
    // off screen, like the magnifying glass.
    void presentFrame(QImage frame);

    // ---- Commands
    // The image-command pattern: end the tool and start the outline
    // animation (or stop it, as the command says); copy the image into the working copy when the
    // operation reads it there; record the undo before-state; run `operation` on the main image
    // with the working copy and the selection mask; clear the record's tail words; record the
    // after-state; repaint the view and the index panel.
    void runImageCommand(const ImageOperation& operation, ImageCommand command = {});
    // The same around a modal dialog that previews on the main image (reading
    // the working copy). `dialog` returns true when the user pressed OK. On
    // anything else the undo step is dropped, the selection record and the
    // main image are restored, and the history is as before the command.
    // Returns what `dialog` returned.
    bool runDialogCommand(const std::function<bool()>& dialog);

    void undo();
    void redo();

    bool onCommand(int id) override;
    bool onUpdateCommand(int id, CommandState& state) override;
    // The view's own commands: its tools (zoom, magnifying glass), Undo and
    // Redo. A command it does not know goes to the feature commands.
    static const CommandMap<CMavView>& Commands();
    // The commands of the features that work on a view (selection, annotation,
    // processing, warping, measurement, printing), which only the application
    // layer knows: it installs their table once for every view. Null removes it.
    static void InstallFeatureCommands(const CommandMap<CMavView>* table);

signals:
    // Text for status pane 3: "Zoom:200.0%, Mouse:X=20, Y=20".
    void statusTextChanged(const QString& text);
    // After every zoom step, for the window caption.
    void zoomChanged(double percent);
    // The image changed: the index image panel should repaint.
    void indexPanelRepaintRequested();
    void activeChanged(bool active);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    class ToolCall;

    ViewSize imageSize() const;
    void updateScrollBars();
    void showStatus(const QString& text);
    void showZoomStatus();
    void showPointerStatus(QPoint client);
    void startZoomTool();
    void startMagnifier();
    void finishImageCommand();

    CMavDoc& doc_;
    SelectionRecord selection_;
    PaintRects paintRects_;
    int zoomIndex_ = kZoomIndex100;
    ViewSize total_;
    QBasicTimer outlineTimer_;
    RoiOutline outline_;
    std::unique_ptr<CMouseTool> tool_;
    // Tools ended while one of their own operations runs; deleted once it returns.
    std::vector<std::unique_ptr<CMouseTool>> retiredTools_;
    int toolCallDepth_ = 0;
    bool active_ = false;
    int toolMode_ = ToolMode::None;
    QImage presentedFrame_;
    // Client area the last paint drew outline pixels in; empty when none.
    QRect outlineBounds_;
};

} // namespace halvera
