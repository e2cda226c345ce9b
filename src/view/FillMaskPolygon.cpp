#include "view/FillMaskPolygon.h"

#include "view/PolygonScan.h"

#include <cstring>

namespace halvera {

int FillMaskPolygon(const CDibImage& mask, std::span<const PixelPoint> points, uint8_t value) {
    const int32_t width = mask.empty() ? 0 : mask.width();
    const int32_t height = mask.empty() ? 0 : mask.height;
    return ScanPolygon(points, width, height, [&](int32_t y, int32_t from, int32_t to) {
        std::memset(mask.row(y) + from, value, static_cast<size_t>(to - from + 1));
    });
}

} // namespace halvera
