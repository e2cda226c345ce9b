#pragma once

#include "warping/FrameGeometry.h"

namespace halvera {

// The frame of the zoom tool: an axis-aligned rectangle the user stretches,
// mirrors or moves by its handles, onto which the region box is scaled.
class ZoomFrame {
public:
    // What a drag grabbed: handles 0..7 (see FrameHandlePoints), the inside
    // (moves the frame) or nothing.
    static constexpr int kInside = 8;
    static constexpr int kNothing = 9;

    explicit ZoomFrame(const PixelRect& regionBox)
        : box_(regionBox), corners_(RegionBoxCorners(regionBox)) {}

    const PixelRect& regionBox() const { return box_; }
    const QuadCorners& corners() const { return corners_; }

    // Applies a drag of `grabbed` to the mouse at `mouse` (image pixels), which
    // was at `previous` at the last move: a corner handle sets that corner's x
    // and y, an edge handle that edge, kInside moves the frame by the mouse's
    // movement. Every coordinate is then kept within ±kMaxFrameCoordinate.
    void Drag(int grabbed, PixelPoint mouse, PixelPoint previous);

    // The rectangle the region box is scaled onto: (x, y) of the top-left
    // corner to (x, y) of the bottom-right corner; reversed when mirrored.
    PixelRect Destination() const {
        return PixelRect{corners_[kTopLeft].x, corners_[kTopLeft].y, corners_[kBottomRight].x,
                         corners_[kBottomRight].y};
    }

    // The read-outs: |x3 - x1 + 1| / box width and |y3 - y1 + 1| / box height.
    double HorizontalRatio() const;
    double VerticalRatio() const;

private:
    void SetTop(int32_t y);
    void SetBottom(int32_t y);
    void SetLeft(int32_t x);
    void SetRight(int32_t x);

    PixelRect box_;
    QuadCorners corners_;
};

} // namespace halvera
