#include "view/ui/MavView.h"

#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "view/BuildOutlineMap.h"
#include "view/CommandIds.h"
#include "view/PixelReadout.h"
#include "view/ui/DrawDib.h"
#include "view/ui/FrameServices.h"
#include "view/ui/MagnifierTool.h"
#include "view/ui/ZoomTool.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace halvera {

namespace {

constexpr int kScrollLine = 16;
constexpr int kScrollPageDivisor = 16;

int MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    int flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= kMouseLeftButton;
    if (buttons & Qt::RightButton)
        flags |= kMouseRightButton;
    if (buttons & Qt::MiddleButton)
        flags |= kMouseMiddleButton;
    if (modifiers & Qt::ShiftModifier)
        flags |= kMouseShift;
    if (modifiers & Qt::ControlModifier)
        flags |= kMouseControl;
    return flags;
}

int MouseFlags(const QMouseEvent& event) {
    return MouseFlags(event.buttons(), event.modifiers());
}

QString ZoomText(double percent) {
    // QString::number formats in the C locale, whatever the desktop's.
    return QStringLiteral("Zoom:") + QString::number(percent, 'f', 1) + QLatin1Char('%');
}

QRect ToQRect(const ViewRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

void SetScrollRange(QScrollBar* bar, int32_t maximum, int32_t total) {
    bar->setRange(0, maximum);
    bar->setPageStep(std::max(1, total / kScrollPageDivisor));
    bar->setSingleStep(kScrollLine);
}

} // namespace

// Marks a call into the current tool. A tool that ends itself (the magnifier
// on double-click) is kept alive until the outermost call has returned.
class CMavView::ToolCall {
public:
    explicit ToolCall(CMavView& view) : view_(view) { ++view_.toolCallDepth_; }
    ~ToolCall() {
        if (--view_.toolCallDepth_ == 0)
            view_.retiredTools_.clear();
    }
    ToolCall(const ToolCall&) = delete;
    ToolCall& operator=(const ToolCall&) = delete;

private:
    CMavView& view_;
};

CMavView::CMavView(CMavDoc& doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // Around the image the window shows the grey of the empty window area, so
    // that the edges of a white picture (every new image starts white) show.
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);

    // Initial update: the document is attached from the start.
    selection_.setKind(0);
    selection_.clearTail();
    total_ = doc_.image().empty() ? ViewSize{kEmptyViewSide, kEmptyViewSide}
                                  : ScaledSize(imageSize(), zoomFactor());
    updateScrollBars();
    startOutlineTimer();
}

CMavView::~CMavView() {
    // The tool goes without Finish: there is no view left for it to act on.
    tool_.reset();
    retiredTools_.clear();
    showZoomStatus();
}

// ---- Zoom and placement

ViewSize CMavView::imageSize() const {
    return {doc_.image().width(), doc_.image().height};
}

ViewPlacement CMavView::placement() const {
    const QSize client = viewport()->size();
    return {zoomFactor(),
            {client.width(), client.height()},
            total_,
            {horizontalScrollBar()->value(), verticalScrollBar()->value()}};
}

QPoint CMavView::scrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CMavView::scrollTo(QPoint position) {
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void CMavView::updateScrollBars() {
    const PixelPoint maximum = placement().MaxScroll();
    SetScrollRange(horizontalScrollBar(), maximum.x, total_.width);
    SetScrollRange(verticalScrollBar(), maximum.y, total_.height);
    // The scroll area shows or hides its bars through a queued call; run it
    // now so that the client size, and so every placement, is final.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

bool CMavView::zoomTo(int index, QPoint click) {
    if (index < 0 || index >= kZoomCount || doc_.image().empty())
        return false;
    const ViewSize scaled = ScaledSize(imageSize(), ZoomFactor(index));
    if (!ScaledSizeAllowed(scaled))
        return false;

    const ViewPlacement before = placement();
    zoomIndex_ = index;
    total_ = scaled;
    updateScrollBars();
    const PixelPoint position = ZoomScrollPosition(before, placement(), {click.x(), click.y()});
    {
        const QSignalBlocker blockHorizontal(horizontalScrollBar());
        const QSignalBlocker blockVertical(verticalScrollBar());
        scrollTo(QPoint(position.x, position.y));
    }
    repaintView();
    emit zoomChanged(zoomPercent());
    return true;
}

QPoint CMavView::windowToImage(QPoint client) const {
    const PixelPoint p = placement().WindowToImage({client.x(), client.y()});
    return {p.x, p.y};
}

QPoint CMavView::imageToWindow(QPoint image) const {
    const PixelPoint p = placement().ImageToWindow({image.x(), image.y()});
    return {p.x, p.y};
}

QRect CMavView::imageRectToWindow(const QRect& image) const {
    const PixelRect box =
        placement().ImageBoxToWindow({image.left(), image.top(), image.right(), image.bottom()});
    return QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom));
}

int CMavView::imageLengthToWindow(int length) const {
    return placement().ImageLengthToWindow(length);
}

QRect CMavView::displayedImageRect() const {
    if (doc_.image().empty())
        return {};
    return ToQRect(placement().DisplayedImageRect(imageSize()));
}

// ---- Tools

void CMavView::setTool(std::unique_ptr<CMouseTool> tool) {
    endTool();
    tool_ = std::move(tool);
}

void CMavView::startTool(OutlineAnimation animation, int toolMode,
                         const std::function<std::unique_ptr<CMouseTool>()>& create,
                         bool copyToWorking) {
    endTool();
    if (animation == OutlineAnimation::Start)
        startOutlineTimer();
    else
        stopOutlineTimer();
    if (copyToWorking)
        doc_.CopyToWorking();
    tool_ = create();
    if (tool_)
        toolMode_ = toolMode;
}

void CMavView::endTool() {
    toolMode_ = ToolMode::None;
    // A tool ended in the middle of a drag (a key, a command) can no longer
    // let go of the mouse; left held, the mouse would reach no other window,
    // a dialog opened next included, while the keyboard still worked.
    if (QWidget::mouseGrabber() == viewport())
        releaseCapture();
    if (!tool_)
        return;
    const ToolCall call(*this);
    std::unique_ptr<CMouseTool> ending = std::move(tool_);
    ending->Finish(*this);
    retiredTools_.push_back(std::move(ending));
}

void CMavView::endToolAndRepaint() {
    endTool();
    repaintView();
}

void CMavView::setToolCursor(CursorId id) {
    viewport()->setCursor(CursorFor(id));
}

void CMavView::setArrowCursor() {
    viewport()->setCursor(Qt::ArrowCursor);
}

void CMavView::captureMouse() {
    viewport()->grabMouse();
}

void CMavView::releaseCapture() {
    viewport()->releaseMouse();
}

void CMavView::startZoomTool() {
    startTool(OutlineAnimation::Start, ToolMode::Viewing,
              [] { return std::make_unique<CZoomTool>(); });
}

void CMavView::startMagnifier() {
    startTool(OutlineAnimation::Stop, ToolMode::Viewing,
              [] { return std::make_unique<CMagnifierTool>(); });
}

// ---- Active view and status text

void CMavView::setActive(bool active) {
    active_ = active;
    if (active) {
        if (FrameServices* frame = Frame())
            frame->selectInIndexPanel(&doc_);
    }
    showZoomStatus();
    emit activeChanged(active);
}

void CMavView::showStatus(const QString& text) {
    if (FrameServices* frame = Frame())
        frame->setStatusPaneText(kStatusPane, text);
    emit statusTextChanged(text);
}

void CMavView::showZoomStatus() {
    showStatus(ZoomText(zoomPercent()));
}

// The pointer in window pixels, then, over the image, the image pixel under
// it with its colour (and its calibrated position).
void CMavView::showPointerStatus(QPoint client) {
    QString text = ZoomText(zoomPercent()) + QStringLiteral(", Mouse:X=") +
                   QString::number(client.x()) + QStringLiteral(", Y=") +
                   QString::number(client.y());
    if (isOverImage(client)) {
        const QPoint pixel = windowToImage(client);
        const std::string readout =
            PixelReadout(doc_.image(), {pixel.x(), pixel.y()}, doc_.settings());
        if (!readout.empty())
            text += QStringLiteral(", ") + QString::fromStdString(readout);
    }
    showStatus(text);
}

// ---- Selection outline

void CMavView::startOutlineTimer() {
    outlineTimer_.start(kOutlineTimerPeriodMs, this);
    // The outline map is built by the paint while the animation runs.
    viewport()->update();
}

void CMavView::stopOutlineTimer() {
    if (!outlineTimer_.isActive())
        return;
    outlineTimer_.stop();
    viewport()->update();
}

// ---- Painting

void CMavView::repaintView() {
    presentedFrame_ = QImage();
    viewport()->update();
}

void CMavView::repaintIndexPanel() {
    if (FrameServices* frame = Frame())
        frame->repaintIndexPanel();
    emit indexPanelRepaintRequested();
}

void CMavView::paintImage(QPainter& painter) const {
    const CDibImage image = doc_.image();
    if (image.empty())
        return;
    const ViewPlacement where = placement();
    const PaintRects rects = where.ComputePaintRects(imageSize());
    DrawDib(painter, image, ToQRect(rects.source),
            ToQRect(rects.destination).translated(-where.scroll.x, -where.scroll.y));
}

void CMavView::presentFrame(QImage frame) {
    presentedFrame_ = std::move(frame);
    viewport()->update();
}

void CMavView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    if (!presentedFrame_.isNull()) {
        painter.drawImage(0, 0, presentedFrame_);
        return;
    }
    const CDibImage image = doc_.image();
    if (image.empty())
        return;
    const ViewPlacement where = placement();
    paintRects_ = where.ComputePaintRects(imageSize());
    const QRect shown =
        ToQRect(paintRects_.destination).translated(-where.scroll.x, -where.scroll.y);
    painter.setClipRect(shown & viewport()->rect());

    DrawDib(painter, image, ToQRect(paintRects_.source), shown);
    outlineBounds_ = QRect();
    if (outlineTimer_.isActive()) {
        const OutlineViewport outlineViewport{
            paintRects_.source.x, paintRects_.source.y, where.zoom,         shown.width(),
            shown.height(),       where.client.width,   where.client.height};
        if (BuildOutlineMap(doc_.outlineBlock(), doc_.mask(), outlineViewport))
            outlineBounds_ = outline_.Paint(painter, doc_.outline(), shown.topLeft());
    }
    if (tool_) {
        const ToolCall call(*this);
        painter.translate(-where.scroll.x, -where.scroll.y);
        tool_->Draw(*this, painter);
    }
}

void CMavView::resizeEvent(QResizeEvent*) {
    presentedFrame_ = QImage();
    updateScrollBars();
}

void CMavView::scrollContentsBy(int, int) {
    repaintView();
}

// ---- Input: forwarded to the tool only while this is the active view

void CMavView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !active_)
        return;
    if (tool_) {
        const ToolCall call(*this);
        const QPoint at = event->position().toPoint();
        tool_->OnLButtonDown(*this, MouseFlags(*event), at.x(), at.y());
    }
}

void CMavView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !active_)
        return;
    const QPoint at = event->position().toPoint();
    if (tool_) {
        const ToolCall call(*this);
        tool_->OnLButtonUp(*this, MouseFlags(*event), at.x(), at.y());
    }
    repaintIndexPanel();
    showPointerStatus(at);
}

void CMavView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !active_)
        return;
    if (tool_) {
        const ToolCall call(*this);
        const QPoint at = event->position().toPoint();
        tool_->OnLButtonDblClk(*this, MouseFlags(*event), at.x(), at.y());
    }
}

void CMavView::mouseMoveEvent(QMouseEvent* event) {
    if (!active_) {
        setArrowCursor();
        return;
    }
    const QPoint at = event->position().toPoint();
    if (tool_) {
        const ToolCall call(*this);
        tool_->OnMouseMove(*this, MouseFlags(*event), at.x(), at.y());
    } else {
        setArrowCursor();
    }
    showPointerStatus(at);
}

// Keys belong to the tool (the paste tool moves by arrow keys): the view
// itself never scrolls by keyboard. Keys no tool takes go on to the frame.
void CMavView::keyPressEvent(QKeyEvent* event) {
    if (!active_ || !tool_) {
        event->ignore();
        return;
    }
    const ToolCall call(*this);
    tool_->OnKeyDown(*this, event->key(), std::max(1, event->count()),
                     event->isAutoRepeat() ? kKeyRepeated : 0);
}

void CMavView::keyReleaseEvent(QKeyEvent* event) {
    // An auto-repeating key sends release and press pairs; only the last
    // release is the key going up.
    if (!active_ || event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    if (tool_) {
        const ToolCall call(*this);
        tool_->OnKeyUp(*this, event->key(), std::max(1, event->count()), 0);
    } else {
        event->ignore();
    }
    repaintIndexPanel();
}

void CMavView::timerEvent(QTimerEvent* event) {
    if (event->timerId() != outlineTimer_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    if (!active_)
        return;
    if (tool_) {
        const ToolCall call(*this);
        tool_->OnTimer(*this, kOutlineTimerId);
    }
    // One step of the stripes: only where the last paint drew outline pixels.
    if (!outlineBounds_.isEmpty()) {
        outline_.Advance();
        viewport()->update(outlineBounds_);
    }
}

// ---- Commands

void CMavView::finishImageCommand() {
    repaintView();
    repaintIndexPanel();
}

void CMavView::runImageCommand(const ImageOperation& operation, ImageCommand command) {
    endTool();
    if (command.animation == OutlineAnimation::Start)
        startOutlineTimer();
    else
        stopOutlineTimer();
    RunCommand(doc_, selection_, command.kind, command.readsWorkingCopy,
               [&] { operation(doc_.image(), doc_.working(), doc_.mask()); });
    finishImageCommand();
}

bool CMavView::runDialogCommand(const std::function<bool()>& dialog) {
    endTool();
    startOutlineTimer();
    doc_.CopyToWorking();
    const SelectionRecord before = selection_;
    selection_.setKind(StepKind::Image);
    // Only a step this command recorded may be dropped on cancel: without
    // one, CancelStep would take away the step of an earlier command.
    const bool recorded = doc_.BeginImageStep(selection_);
    const bool accepted = dialog();
    selection_.clearTail();
    if (recorded)
        doc_.EndImageStep(selection_);
    if (!accepted) {
        if (recorded)
            doc_.CancelStep();
        selection_ = before;
        doc_.RestoreFromWorking();
    }
    finishImageCommand();
    return accepted;
}

void CMavView::undo() {
    endTool();
    selection_ = doc_.Undo();
    finishImageCommand();
}

void CMavView::redo() {
    endTool();
    selection_ = doc_.Redo();
    finishImageCommand();
}

const CommandMap<CMavView>& CMavView::Commands() {
    static const auto map =
        CommandMap<CMavView>()
            .add(kIdZoomTool, &CMavView::startZoomTool)
            .add(kIdMagnifierTool, &CMavView::startMagnifier)
            .add(kIdEditUndo, &CMavView::undo,
                 [](CMavView& view, CommandState& state) {
                     state.enabled = view.document().CanUndo();
                 })
            .add(kIdEditRedo, &CMavView::redo, [](CMavView& view, CommandState& state) {
                state.enabled = view.document().CanRedo();
            });
    return map;
}

namespace {
const CommandMap<CMavView>* gFeatureCommands = nullptr;
} // namespace

void CMavView::InstallFeatureCommands(const CommandMap<CMavView>* table) {
    gFeatureCommands = table;
}

bool CMavView::onCommand(int id) {
    return Commands().dispatch(*this, id) ||
           (gFeatureCommands != nullptr && gFeatureCommands->dispatch(*this, id));
}

bool CMavView::onUpdateCommand(int id, CommandState& state) {
    return Commands().update(*this, id, state) ||
           (gFeatureCommands != nullptr && gFeatureCommands->update(*this, id, state));
}

} // namespace halvera
