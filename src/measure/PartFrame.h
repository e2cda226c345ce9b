#pragma once

#include "image/PixelGeometry.h"

#include <optional>

namespace halvera {

// Where a part lies on a picture: the rigid transform between the part's own
// coordinates (origin at its datum, x along its reference edge) and picture
// pixels. The part's y axis is its x axis turned by a quarter turn from x
// towards picture y, so a part that lies unturned has the picture's axes.
struct PartFrame {
    SubPixelPoint origin;
    SubPixelPoint axis{1.0, 0.0}; // unit vector

    SubPixelPoint ToPicture(SubPixelPoint onPart) const;
    SubPixelPoint ToPart(SubPixelPoint onPicture) const;
};

// The frame of a reference edge from `start` towards `end` whose origin is
// the foot of `point` on it; nothing for an edge of no length.
std::optional<PartFrame> FrameFromEdgeAndPoint(SubPixelPoint start, SubPixelPoint end,
                                               SubPixelPoint point);
// The frame of a reference edge whose origin is its intersection with the
// line through `otherStart` and `otherEnd`; nothing when they meet at less
// than a degree (the intersection would be lost in the edges' noise).
std::optional<PartFrame> FrameFromTwoEdges(SubPixelPoint start, SubPixelPoint end,
                                           SubPixelPoint otherStart, SubPixelPoint otherEnd);

} // namespace halvera
