#pragma once

class QPainter;

namespace halvera {

class CMavView;

// Mouse-key state word handed to the tools with every mouse message.
inline constexpr int kMouseLeftButton = 1;
inline constexpr int kMouseRightButton = 2;
inline constexpr int kMouseShift = 4;
inline constexpr int kMouseControl = 8;
inline constexpr int kMouseMiddleButton = 16;

// Key flag handed to OnKeyDown: the key was already down (auto-repeat).
inline constexpr int kKeyRepeated = 0x4000;

// The base of every interactive tool of the image view. The view owns one
// current tool and forwards its input to it while the view is the active one;
// a tool changes the image only through the view and its document.
//
// Positions x, y are client pixels of the view as the window system reports
// them; CMavView converts them (windowToImage). Key codes are Qt::Key values.
// Every operation does nothing by default, except OnMouseMove (arrow cursor)
// and AutoScroll.
class CMouseTool {
public:
    CMouseTool() = default;
    CMouseTool(const CMouseTool&) = delete;
    CMouseTool& operator=(const CMouseTool&) = delete;
    virtual ~CMouseTool() = default;

    virtual void OnLButtonDblClk(CMavView& view, int flags, int x, int y);
    virtual void OnLButtonDown(CMavView& view, int flags, int x, int y);
    // `flags` no longer holds kMouseLeftButton: it tells the state after the release.
    virtual void OnLButtonUp(CMavView& view, int flags, int x, int y);
    virtual void OnMouseMove(CMavView& view, int flags, int x, int y);
    // Each tick of the view's outline timer (CMavView::kOutlineTimerId).
    virtual void OnTimer(CMavView& view, int timerId);
    // Every paint, after the image and the selection outline, clipped to the
    // displayed image. The painter works in logical window coordinates, the
    // ones imageToWindow gives, and in that paint only: rubber shapes are drawn
    // here (XOR through QPainter::RasterOp_SourceXorDestination) from the
    // tool's state, and a tool asks for them with CMavView::repaintView.
    virtual void Draw(CMavView& view, QPainter& painter);
    virtual void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags);
    virtual void OnKeyUp(CMavView& view, int key, int repeatCount, int keyFlags);
    // Just before the view deletes the tool to install another or to run a
    // command; not called when the view itself is destroyed.
    virtual void Finish(CMavView& view);
    // For tools that drag past the window edge: scrolls the view so that the
    // client point (x, y) comes back into view.
    virtual void AutoScroll(CMavView& view, int x, int y);
};

} // namespace halvera
