#include "view/ArrowSign.h"

#include "view/FillShapes.h"

#include <cmath>

namespace halvera {

std::array<PixelPoint, 7> ArrowSignCorners(PixelPoint tip, int size, double angle) {
    const double s = size;
    const double q = s / 4.0;
    const double frame[7][2] = {{0, 0}, {s, s}, {s, q}, {2 * s, q}, {2 * s, -q}, {s, -q}, {s, -s}};
    const double c = std::cos(angle);
    const double n = std::sin(angle);
    std::array<PixelPoint, 7> corners;
    for (int i = 0; i < 7; ++i) {
        const double x = frame[i][0];
        const double y = frame[i][1];
        corners[i] = {static_cast<int32_t>(c * x - n * y + tip.x + 0.5),
                      static_cast<int32_t>(c * y + n * x + tip.y + 0.5)};
    }
    return corners;
}

void DrawArrowSign(const PaintCanvas& canvas, PixelPoint tip, int size, double angle) {
    const std::array<PixelPoint, 7> corners = ArrowSignCorners(tip, size, angle);
    FillPolygonColor(canvas, corners);
}

} // namespace halvera
