#pragma once

#include "warping/FrameGeometry.h"

#include <array>

namespace halvera {

// The frame of the free-transform tool: four corners dragged one by one (a
// perspective distortion), moved together, or turned about a pivot the user
// can place. The source rectangle (the starting corners) stays fixed, so every
// render is one projective mapping of the starting region.
class FreeTransformFrame {
public:
    // What a press grabbed: corners 0..3, the pivot, the inside or the outside.
    static constexpr int kPivot = 4;
    static constexpr int kInside = 5;
    static constexpr int kOutside = 6;
    // How far (image pixels, in x and in y) a press may lie from a corner or the pivot.
    static constexpr int kCornerTolerance = 5;
    static constexpr int kPivotTolerance = 6;

    // Corners around the region box as RegionBoxCorners gives them; the pivot
    // at ((left + right + 1) div 2, (top + bottom + 1) div 2).
    explicit FreeTransformFrame(const PixelRect& regionBox);

    const QuadCorners& corners() const { return corners_; }
    const QuadCorners& source() const { return source_; }
    PixelPoint pivot() const { return pivot_; }
    double angle() const { return theta_; }     // θ, committed
    double dragAngle() const { return delta_; } // δ, of the turn in progress

    // What a press at `point` (image pixels) grabs.
    int HitTest(PixelPoint point) const;

    // A drag of `grabbed` with the mouse at `mouse`, pressed at `press` and at
    // `previous` on the last move. A corner goes to the mouse, the pivot goes to
    // the mouse, the inside moves all corners by the movement; the outside turns
    // the corners about the pivot by δ = angle(mouse) - angle(press). Every
    // corner coordinate is kept within ±kMaxFrameCoordinate.
    void Drag(int grabbed, PixelPoint mouse, PixelPoint press, PixelPoint previous);
    // The release: θ += δ, kept in 0..2π.
    void Release();

private:
    // Each corner's distance and angle about the pivot; `turned` is the part of
    // the corners' angles that θ and δ account for.
    void MeasureAboutPivot(double turned);
    bool ClampCorners();

    QuadCorners source_;
    QuadCorners corners_;
    PixelPoint pivot_;
    std::array<double, 4> radius_{};
    std::array<double, 4> angles_{};
    double theta_ = 0.0;
    double delta_ = 0.0;
};

} // namespace halvera
