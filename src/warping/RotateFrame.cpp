#include "warping/RotateFrame.h"

#include <cmath>

namespace halvera {

namespace {

// When a handle drag folds the frame flat, the mouse's frame coordinate is
// moved by this much so that the frame keeps an area.
constexpr double kUnfold = 0.001;

bool SamePoint(RealPoint a, RealPoint b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

RotateFrame::RotateFrame(const PixelRect& regionBox) : source_(RegionBoxCorners(regionBox)) {
    for (size_t k = 0; k < corners_.size(); ++k)
        corners_[k] = ToReal(source_[k]);
    MeasureFromCorners();
}

QuadCorners RotateFrame::Corners() const {
    QuadCorners corners{};
    for (size_t k = 0; k < corners.size(); ++k)
        corners[k] =
            PixelPoint{static_cast<int32_t>(corners_[k].x), static_cast<int32_t>(corners_[k].y)};
    return corners;
}

RealPoint RotateFrame::ToFrame(RealPoint p) const {
    const double c = std::cos(theta_), s = std::sin(theta_);
    return RealPoint{(p.x - centre_.x) * c + (centre_.y - p.y) * s,
                     (centre_.x - p.x) * s + (centre_.y - p.y) * c};
}

RealPoint RotateFrame::FromFrame(RealPoint f) const {
    const double c = std::cos(theta_), s = std::sin(theta_);
    return RealPoint{centre_.x + f.x * c - f.y * s, centre_.y - (f.x * s + f.y * c)};
}

void RotateFrame::MeasureFromCorners() {
    const RealPoint a = corners_[kTopRight], b = corners_[kBottomLeft];
    centre_ = RealPoint{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
    radius_ = std::hypot(a.x - b.x, a.y - b.y) / 2.0;
    for (size_t k = 0; k < corners_.size(); ++k)
        angles_[k] = AngleAround(centre_, corners_[k]) - theta_;
}

void RotateFrame::PlaceFromAngles() {
    for (size_t k = 0; k < corners_.size(); ++k) {
        const double a = theta_ + angles_[k] + delta_;
        corners_[k] =
            RealPoint{centre_.x + radius_ * std::cos(a), centre_.y - radius_ * std::sin(a)};
    }
}

void RotateFrame::Turn(PixelPoint press, PixelPoint mouse) {
    delta_ = AngleAround(centre_, ToReal(mouse)) - AngleAround(centre_, ToReal(press));
    PlaceFromAngles();
}

void RotateFrame::Move(PixelPoint mouse, PixelPoint previous) {
    for (RealPoint& corner : corners_) {
        corner.x += mouse.x - previous.x;
        corner.y += mouse.y - previous.y;
    }
}

void RotateFrame::PlaceHandle(int handle, RealPoint m, std::array<RealPoint, 4>& f) const {
    switch (handle) {
    case 7: // right edge: corners 0 and 3
        f[0] = {m.x, f[0].y};
        f[3] = {m.x, -f[0].y};
        break;
    case 3: // left edge: corners 1 and 2
        f[1] = {m.x, f[1].y};
        f[2] = {m.x, -f[1].y};
        break;
    case 1: // top edge: corners 0 and 1
        f[0] = {f[0].x, m.y};
        f[1] = {-f[0].x, m.y};
        break;
    case 5: // bottom edge: corners 3 and 2
        f[3] = {f[3].x, m.y};
        f[2] = {-f[3].x, m.y};
        break;
    default: { // corners: handle 0, 2, 4, 6 is corner 0, 1, 2, 3
        static constexpr int kHorizontalNeighbour[4] = {1, 0, 3, 2};
        static constexpr int kVerticalNeighbour[4] = {3, 2, 1, 0};
        const int corner = handle / 2;
        f[corner] = m;
        f[kHorizontalNeighbour[corner]].y = m.y;
        f[kVerticalNeighbour[corner]].x = m.x;
        break;
    }
    }
}

void RotateFrame::DragHandle(int handle, PixelPoint mouse) {
    if (handle < 0 || handle > 7)
        return;
    RealPoint m = ToFrame(ToReal(mouse));
    std::array<RealPoint, 4> frame{};
    for (size_t k = 0; k < frame.size(); ++k)
        frame[k] = ToFrame(corners_[k]);
    std::array<RealPoint, 4> placed = frame;
    PlaceHandle(handle, m, placed);
    if (SamePoint(placed[0], placed[3]) && SamePoint(placed[1], placed[2])) {
        m = RealPoint{m.x + kUnfold, m.y + kUnfold};
        placed = frame;
        PlaceHandle(handle, m, placed);
    }
    for (size_t k = 0; k < corners_.size(); ++k)
        corners_[k] = FromFrame(placed[k]);
}

void RotateFrame::Release(int grabbed) {
    if (grabbed == kOutside) {
        theta_ = WrapAngleOnce(theta_ + delta_);
        delta_ = 0.0;
    } else if (grabbed >= 0 && grabbed <= kInside) {
        MeasureFromCorners();
    }
}

} // namespace halvera
