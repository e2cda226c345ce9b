#pragma once

#include "image/PixelGeometry.h"

#include <cstdint>

namespace halvera {

// The image view's arithmetic: the zoom table, where the scaled image sits in
// the window, and the conversions between window and image pixels that every
// mouse tool uses. Kept free of any toolkit so it can be tested on its own.
// Points and inclusive boxes, in window or image pixels, are PixelPoint and
// PixelRect.

inline constexpr int kZoomCount = 24;
inline constexpr int kZoomIndex100 = 10; // 100 %; a smaller index is a larger picture
inline constexpr int32_t kMaxScaledSide = 32767;
inline constexpr int32_t kEmptyViewSide = 100; // scroll size of a view with no image

// Factor of zoom index 0..23 (16 down to 0.01).
double ZoomFactor(int index);

struct ViewSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const ViewSize&) const = default;
};

// x, y, width, height.
struct ViewRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const ViewRect&) const = default;
};

// Image side shown at `zoom`: trunc(length * zoom + 0.5).
int32_t ScaledLength(int32_t length, double zoom);
ViewSize ScaledSize(ViewSize image, double zoom);
// A scaled image is shown only when both sides are 1..32767 pixels.
bool ScaledSizeAllowed(ViewSize scaled);

// The source rectangle (image pixels) and destination rectangle (logical
// window pixels) of one paint.
struct PaintRects {
    ViewRect source;
    ViewRect destination;
    bool operator==(const PaintRects&) const = default;
};

// Where the image lies in the window: the zoom, the client size, the scroll
// total size (the scaled image) and the scroll position. "Logical" points are
// client points plus the scroll position.
struct ViewPlacement {
    double zoom = 1.0;
    ViewSize client;
    ViewSize total;
    PixelPoint scroll;

    // ((cw - tw) / 2, (ch - th) / 2) on each axis where the image is not
    // larger than the client area, else 0.
    PixelPoint CentringOffset() const;
    // Largest scroll position on each axis (0 where the image fits).
    PixelPoint MaxScroll() const;

    // Client point to image pixel: add the scroll position, subtract the
    // centring offset, divide by the zoom and truncate toward zero. Points
    // beside the image give coordinates outside it (not clamped).
    PixelPoint WindowToImage(PixelPoint client) const;
    // Image pixel to logical window point: trunc(v * zoom) + offset.
    PixelPoint ImageToWindow(PixelPoint image) const;
    // Inclusive image box to inclusive logical window box: the far edges go to
    // trunc((v + 1) * zoom) - 1, so a box covers all window pixels of its pixels.
    PixelRect ImageBoxToWindow(PixelRect image) const;
    // trunc(length * zoom + 0.5).
    int32_t ImageLengthToWindow(int32_t length) const;

    // The rectangles a paint uses: on an axis where the image fits, the whole
    // image centred; otherwise only the visible span plus two image pixels,
    // cut at the image edge.
    PaintRects ComputePaintRects(ViewSize image) const;
    // The displayed image in client pixels (the destination rectangle minus
    // the scroll position).
    ViewRect DisplayedImageRect(ViewSize image) const;

    // Scroll position that brings a client point dragged past the window edge
    // back into view (the tools' auto-scroll while dragging).
    PixelPoint AutoScrollPosition(PixelPoint client) const;
};

// Scroll position after a zoom step that keeps the clicked point in the middle
// of the window. `before` is the placement before the step; `after` holds the
// new zoom, total size and the scroll position the scroll bars hold once their
// range has changed. On an axis where the new image is larger than the window,
// the clicked image point is scaled to the new size and centred; elsewhere, or
// where that would be negative, the current position stays.
PixelPoint ZoomScrollPosition(const ViewPlacement& before, const ViewPlacement& after,
                              PixelPoint click);

} // namespace halvera
