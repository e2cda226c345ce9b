#pragma once

#include "warping/FrameGeometry.h"

#include <array>

namespace halvera {

// The frame of the rotate tool, a rectangle that turns about its centre. Its
// corners are held in double precision and truncated to whole pixels for
// drawing and rendering; the source rectangle (the starting corners) stays
// fixed for the tool's lifetime.
//
// A corner's place is centre + radius × (cos(θ + φ + δ), -sin(θ + φ + δ)), with
// θ the committed angle, δ the angle of the turn in progress and φ the
// corner's own angle, taken relative to θ so that recomputing it never moves
// the frame.
class RotateFrame {
public:
    // What a drag grabbed: handles 0..7 (see FrameHandlePoints), the inside
    // (moves the frame) or the outside (turns it).
    static constexpr int kInside = 9;
    static constexpr int kOutside = 10;

    explicit RotateFrame(const PixelRect& regionBox);

    const QuadCorners& source() const { return source_; }
    // The corners truncated to whole pixels.
    QuadCorners Corners() const;
    RealPoint centre() const { return centre_; }
    double angle() const { return theta_; }     // θ, 0..2π
    double dragAngle() const { return delta_; } // δ

    // A turn: δ is the mouse's angle around the centre minus the press point's.
    void Turn(PixelPoint press, PixelPoint mouse);
    // Moves the frame by the mouse's movement since the last move.
    void Move(PixelPoint mouse, PixelPoint previous);
    // A handle drag, worked in the frame's own axes (turned by θ about the
    // centre): an edge handle moves that edge and its opposite symmetrically,
    // a corner handle moves its corner and keeps the opposite one.
    void DragHandle(int handle, PixelPoint mouse);
    // The release: a turn commits θ += δ (kept in 0..2π); after any other drag
    // the centre, radius and corner angles are taken afresh from the corners.
    void Release(int grabbed);

private:
    RealPoint ToFrame(RealPoint point) const;
    RealPoint FromFrame(RealPoint frame) const;
    void PlaceHandle(int handle, RealPoint mouse, std::array<RealPoint, 4>& frame) const;
    void MeasureFromCorners();
    void PlaceFromAngles();

    QuadCorners source_;
    std::array<RealPoint, 4> corners_;
    RealPoint centre_;
    double radius_ = 0.0;
    std::array<double, 4> angles_{};
    double theta_ = 0.0;
    double delta_ = 0.0;
};

} // namespace halvera
