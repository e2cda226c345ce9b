#include "warping/ZoomFrame.h"

#include <algorithm>
#include <cstdlib>

namespace halvera {

void ZoomFrame::SetTop(int32_t y) {
    corners_[kTopRight].y = corners_[kTopLeft].y = y;
}

void ZoomFrame::SetBottom(int32_t y) {
    corners_[kBottomLeft].y = corners_[kBottomRight].y = y;
}

void ZoomFrame::SetLeft(int32_t x) {
    corners_[kTopLeft].x = corners_[kBottomLeft].x = x;
}

void ZoomFrame::SetRight(int32_t x) {
    corners_[kTopRight].x = corners_[kBottomRight].x = x;
}

void ZoomFrame::Drag(int grabbed, PixelPoint mouse, PixelPoint previous) {
    switch (grabbed) {
    case 0:
        SetRight(mouse.x);
        SetTop(mouse.y);
        break;
    case 1:
        SetTop(mouse.y);
        break;
    case 2:
        SetLeft(mouse.x);
        SetTop(mouse.y);
        break;
    case 3:
        SetLeft(mouse.x);
        break;
    case 4:
        SetLeft(mouse.x);
        SetBottom(mouse.y);
        break;
    case 5:
        SetBottom(mouse.y);
        break;
    case 6:
        SetRight(mouse.x);
        SetBottom(mouse.y);
        break;
    case 7:
        SetRight(mouse.x);
        break;
    case kInside:
        for (PixelPoint& corner : corners_) {
            corner.x += mouse.x - previous.x;
            corner.y += mouse.y - previous.y;
        }
        break;
    default:
        return;
    }
    for (PixelPoint& corner : corners_) {
        corner.x = std::clamp(corner.x, -kMaxFrameCoordinate, kMaxFrameCoordinate);
        corner.y = std::clamp(corner.y, -kMaxFrameCoordinate, kMaxFrameCoordinate);
    }
}

double ZoomFrame::HorizontalRatio() const {
    return std::abs(corners_[kBottomRight].x - corners_[kTopLeft].x + 1) /
           static_cast<double>(box_.width());
}

double ZoomFrame::VerticalRatio() const {
    return std::abs(corners_[kBottomRight].y - corners_[kTopLeft].y + 1) /
           static_cast<double>(box_.height());
}

} // namespace halvera
