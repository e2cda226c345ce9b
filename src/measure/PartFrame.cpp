#include "measure/PartFrame.h"

#include <cmath>
#include <numbers>

namespace halvera {

namespace {

SubPixelPoint Minus(SubPixelPoint a, SubPixelPoint b) {
    return {a.x - b.x, a.y - b.y};
}

double Dot(SubPixelPoint a, SubPixelPoint b) {
    return a.x * b.x + a.y * b.y;
}

double Cross(SubPixelPoint a, SubPixelPoint b) {
    return a.x * b.y - a.y * b.x;
}

std::optional<SubPixelPoint> UnitDirection(SubPixelPoint start, SubPixelPoint end) {
    const SubPixelPoint d = Minus(end, start);
    const double length = std::hypot(d.x, d.y);
    if (!(length > 0.0))
        return std::nullopt;
    return SubPixelPoint{d.x / length, d.y / length};
}

} // namespace

SubPixelPoint PartFrame::ToPicture(SubPixelPoint onPart) const {
    return {origin.x + onPart.x * axis.x - onPart.y * axis.y,
            origin.y + onPart.x * axis.y + onPart.y * axis.x};
}

SubPixelPoint PartFrame::ToPart(SubPixelPoint onPicture) const {
    const SubPixelPoint d = Minus(onPicture, origin);
    return {Dot(d, axis), Cross(axis, d)};
}

std::optional<PartFrame> FrameFromEdgeAndPoint(SubPixelPoint start, SubPixelPoint end,
                                               SubPixelPoint point) {
    const std::optional<SubPixelPoint> axis = UnitDirection(start, end);
    if (!axis)
        return std::nullopt;
    const double along = Dot(Minus(point, start), *axis);
    return PartFrame{{start.x + along * axis->x, start.y + along * axis->y}, *axis};
}

std::optional<PartFrame> FrameFromTwoEdges(SubPixelPoint start, SubPixelPoint end,
                                           SubPixelPoint otherStart, SubPixelPoint otherEnd) {
    const std::optional<SubPixelPoint> axis = UnitDirection(start, end);
    const std::optional<SubPixelPoint> other = UnitDirection(otherStart, otherEnd);
    const double smallestSine = std::sin(std::numbers::pi / 180.0);
    if (!axis || !other || std::abs(Cross(*axis, *other)) < smallestSine)
        return std::nullopt;
    // start + t * axis lies on the other line where its cross product with
    // the other direction equals the other start's.
    const double t = Cross(Minus(otherStart, start), *other) / Cross(*axis, *other);
    return PartFrame{{start.x + t * axis->x, start.y + t * axis->y}, *axis};
}

} // namespace halvera
