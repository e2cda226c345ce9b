#include "warping/FreeTransformFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace halvera {

namespace {

bool Near(PixelPoint a, PixelPoint b, int tolerance) {
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

} // namespace

FreeTransformFrame::FreeTransformFrame(const PixelRect& box)
    : source_(RegionBoxCorners(box)),
      corners_(source_), pivot_{(box.left + box.right + 1) / 2, (box.top + box.bottom + 1) / 2} {
    MeasureAboutPivot(0.0);
}

int FreeTransformFrame::HitTest(PixelPoint point) const {
    for (int k = 0; k < 4; ++k)
        if (Near(corners_[k], point, kCornerTolerance))
            return k;
    if (Near(pivot_, point, kPivotTolerance))
        return kPivot;
    return IsInsideQuad(corners_, point) ? kInside : kOutside;
}

void FreeTransformFrame::MeasureAboutPivot(double turned) {
    for (size_t k = 0; k < corners_.size(); ++k) {
        const double dx = corners_[k].x - pivot_.x;
        const double dy = corners_[k].y - pivot_.y;
        radius_[k] = std::hypot(dx, dy);
        angles_[k] = AngleAround(ToReal(pivot_), ToReal(corners_[k])) - turned;
    }
}

bool FreeTransformFrame::ClampCorners() {
    bool clamped = false;
    for (PixelPoint& corner : corners_) {
        const PixelPoint before = corner;
        corner.x = std::clamp(corner.x, -kMaxFrameCoordinate, kMaxFrameCoordinate);
        corner.y = std::clamp(corner.y, -kMaxFrameCoordinate, kMaxFrameCoordinate);
        clamped = clamped || !(corner == before);
    }
    return clamped;
}

void FreeTransformFrame::Drag(int grabbed, PixelPoint mouse, PixelPoint press,
                              PixelPoint previous) {
    if (grabbed == kOutside) {
        delta_ =
            AngleAround(ToReal(pivot_), ToReal(mouse)) - AngleAround(ToReal(pivot_), ToReal(press));
        for (size_t k = 0; k < corners_.size(); ++k) {
            const double a = -(angles_[k] + theta_ + delta_);
            corners_[k] = PixelPoint{pivot_.x + static_cast<int32_t>(radius_[k] * std::cos(a)),
                                     pivot_.y + static_cast<int32_t>(radius_[k] * std::sin(a))};
        }
        // A clamped corner is measured afresh; its angle stays relative to the turn.
        if (ClampCorners())
            MeasureAboutPivot(theta_ + delta_);
        return;
    }
    if (grabbed >= 0 && grabbed < 4) {
        corners_[grabbed] = mouse;
    } else if (grabbed == kPivot) {
        pivot_ = mouse;
    } else if (grabbed == kInside) {
        for (PixelPoint& corner : corners_) {
            corner.x += mouse.x - previous.x;
            corner.y += mouse.y - previous.y;
        }
    } else {
        return;
    }
    ClampCorners();
    theta_ = 0.0;
    delta_ = 0.0;
    MeasureAboutPivot(0.0);
}

void FreeTransformFrame::Release() {
    theta_ = WrapAngleOnce(theta_ + delta_);
    delta_ = 0.0;
}

} // namespace halvera
