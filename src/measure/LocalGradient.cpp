#include "measure/LocalGradient.h"

#include <cmath>

namespace halvera {

std::optional<SubPixelPoint> RisingDirection(const GreyPatch& patch, SubPixelPoint p) {
    const PixelPoint centre = NearestPixel(p);
    double gx = 0.0;
    double gy = 0.0;
    for (int32_t y = centre.y - 1; y <= centre.y + 1; ++y) {
        for (int32_t x = centre.x - 1; x <= centre.x + 1; ++x) {
            if (!HasSobelNeighbourhood(patch, x, y))
                return std::nullopt;
            const SubPixelPoint g = SobelGradient(patch, x, y);
            gx += g.x;
            gy += g.y;
        }
    }
    const double length = std::hypot(gx, gy);
    if (length == 0.0)
        return std::nullopt;
    return SubPixelPoint{gx / length, gy / length};
}

} // namespace halvera
