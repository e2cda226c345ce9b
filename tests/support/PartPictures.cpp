#include "PartPictures.h"

#include <cmath>
#include <numbers>

namespace halvera::testing {

namespace {

// The side from `from` to `to` with the plate's middle on its inside.
StraightEdgeTruth Side(SubPixelPoint from, SubPixelPoint to, SubPixelPoint middle) {
    StraightEdgeTruth side{from,
                           std::atan2(-(to.y - from.y), to.x - from.x) * 180.0 / std::numbers::pi};
    if (side.InsideDistance(middle) < 0.0)
        side.degrees += 180.0;
    return side;
}

} // namespace

DibBlock RenderPlate(int width, int height, const PartFrame& pose, const Look& look) {
    const SubPixelPoint corners[] = {
        pose.ToPicture({0.0, 0.0}), pose.ToPicture({Plate::kLength, 0.0}),
        pose.ToPicture({Plate::kLength, -Plate::kHeight}), pose.ToPicture({0.0, -Plate::kHeight})};
    const SubPixelPoint middle = pose.ToPicture(Plate::kMiddle);
    std::vector<StraightEdgeTruth> sides;
    for (size_t i = 0; i < 4; ++i)
        sides.push_back(Side(corners[i], corners[(i + 1) % 4], middle));
    Coverage plate = CoverConvex(width, height, sides);
    CutOut(plate, CoverDisc(width, height, pose.ToPicture(Plate::kBoreCentre), Plate::kBoreRadius));
    return RenderGrey(plate, look);
}

PartFrame MovePlate(const PartFrame& placed, SubPixelPoint shift, double degrees) {
    const double turn = degrees * std::numbers::pi / 180.0;
    // Counter-clockwise on screen, where y grows downward.
    const SubPixelPoint axis{std::cos(turn) * placed.axis.x + std::sin(turn) * placed.axis.y,
                             -std::sin(turn) * placed.axis.x + std::cos(turn) * placed.axis.y};
    const SubPixelPoint middle = placed.ToPicture(Plate::kMiddle);
    PartFrame moved{{0.0, 0.0}, axis};
    const SubPixelPoint middleFromOrigin = moved.ToPicture(Plate::kMiddle);
    moved.origin = {middle.x + shift.x - middleFromOrigin.x,
                    middle.y + shift.y - middleFromOrigin.y};
    return moved;
}

} // namespace halvera::testing
