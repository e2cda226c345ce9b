#pragma once

#include "view/ui/Cursors.h"
#include "view/ui/MouseTool.h"

#include <QPoint>

namespace halvera {

// The zoom tool: a click on the image zooms in one step (with Ctrl: out)
// around the clicked point. It acts on the button's release, not its press.
// The cursor tells what a click would do: zoom in, zoom out, or nothing more
// in that direction.
class CZoomTool : public CMouseTool {
public:
    enum Limit {
        kNoLimit = 0,
        kSmallestReached = 1, // zooming out goes no further
        kLargestReached = 2,  // zooming in goes no further
    };

    void OnLButtonUp(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void OnKeyDown(CMavView& view, int key, int repeatCount, int keyFlags) override;
    void OnKeyUp(CMavView& view, int key, int repeatCount, int keyFlags) override;

    int limit() const { return limit_; }
    bool inside() const { return inside_; }

private:
    CursorId GlassCursor(bool zoomOut) const;
    void ChooseCursor(CMavView& view, int flags, QPoint at);

    int limit_ = kNoLimit;
    bool inside_ = false;
};

} // namespace halvera
