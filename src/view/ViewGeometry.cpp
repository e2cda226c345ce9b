#include "view/ViewGeometry.h"

#include <algorithm>
#include <array>

namespace halvera {

namespace {

constexpr std::array<double, kZoomCount> kZoomFactors = {
    16.0, 12.0,      8.0,  7.0,       6.0,   5.0,        4.0,    3.0,  2.0,  1.5,   1.0,  2.0 / 3.0,
    0.5,  1.0 / 3.0, 0.25, 1.0 / 6.0, 0.125, 1.0 / 12.0, 0.0625, 0.05, 0.03, 0.025, 0.02, 0.01,
};

int32_t Truncate(double value) {
    return static_cast<int32_t>(value);
}

int32_t AxisOffset(int32_t client, int32_t total) {
    return client >= total ? (client - total) / 2 : 0;
}

struct AxisSpan {
    int32_t sourceStart = 0;
    int32_t sourceLength = 0;
    int32_t destinationStart = 0;
    int32_t destinationLength = 0;
};

AxisSpan PaintSpan(int32_t imageLength, int32_t client, int32_t total, int32_t scroll,
                   double zoom) {
    if (total <= client)
        return {0, imageLength, AxisOffset(client, total), total};
    AxisSpan span;
    span.sourceStart = std::min(Truncate(scroll / zoom), imageLength);
    span.sourceLength = Truncate(client / zoom + 0.5) + 2;
    span.sourceLength = std::min(span.sourceLength, imageLength - span.sourceStart);
    span.destinationStart = Truncate(span.sourceStart * zoom);
    span.destinationLength = Truncate(span.sourceLength * zoom);
    return span;
}

int32_t AutoScrollAxis(int32_t point, int32_t client, int32_t total, int32_t scroll) {
    int32_t target = scroll;
    if (point < 0)
        target = scroll + point;
    else if (point > client && point < total)
        target = scroll + point - client;
    return std::max(target, 0);
}

int32_t ZoomScrollAxis(int32_t imagePoint, int32_t oldTotal, int32_t newTotal, int32_t client,
                       int32_t current) {
    if (client >= newTotal || oldTotal <= 0)
        return current;
    const int64_t target = static_cast<int64_t>(newTotal) * imagePoint / oldTotal - client / 2;
    return target < 0 ? current : static_cast<int32_t>(target);
}

} // namespace

double ZoomFactor(int index) {
    return kZoomFactors[static_cast<size_t>(index)];
}

int32_t ScaledLength(int32_t length, double zoom) {
    return Truncate(length * zoom + 0.5);
}

ViewSize ScaledSize(ViewSize image, double zoom) {
    return {ScaledLength(image.width, zoom), ScaledLength(image.height, zoom)};
}

bool ScaledSizeAllowed(ViewSize scaled) {
    return scaled.width > 0 && scaled.height > 0 && scaled.width <= kMaxScaledSide &&
           scaled.height <= kMaxScaledSide;
}

PixelPoint ViewPlacement::CentringOffset() const {
    return {AxisOffset(client.width, total.width), AxisOffset(client.height, total.height)};
}

PixelPoint ViewPlacement::MaxScroll() const {
    return {std::max(total.width - client.width, 0), std::max(total.height - client.height, 0)};
}

PixelPoint ViewPlacement::WindowToImage(PixelPoint point) const {
    const PixelPoint offset = CentringOffset();
    return {Truncate((point.x + scroll.x - offset.x) / zoom),
            Truncate((point.y + scroll.y - offset.y) / zoom)};
}

PixelPoint ViewPlacement::ImageToWindow(PixelPoint image) const {
    const PixelPoint offset = CentringOffset();
    return {Truncate(image.x * zoom) + offset.x, Truncate(image.y * zoom) + offset.y};
}

PixelRect ViewPlacement::ImageBoxToWindow(PixelRect image) const {
    const PixelPoint offset = CentringOffset();
    return {Truncate(image.left * zoom) + offset.x, Truncate(image.top * zoom) + offset.y,
            Truncate((image.right + 1) * zoom) - 1 + offset.x,
            Truncate((image.bottom + 1) * zoom) - 1 + offset.y};
}

int32_t ViewPlacement::ImageLengthToWindow(int32_t length) const {
    return ScaledLength(length, zoom);
}

PaintRects ViewPlacement::ComputePaintRects(ViewSize image) const {
    const AxisSpan x = PaintSpan(image.width, client.width, total.width, scroll.x, zoom);
    const AxisSpan y = PaintSpan(image.height, client.height, total.height, scroll.y, zoom);
    return {{x.sourceStart, y.sourceStart, x.sourceLength, y.sourceLength},
            {x.destinationStart, y.destinationStart, x.destinationLength, y.destinationLength}};
}

ViewRect ViewPlacement::DisplayedImageRect(ViewSize image) const {
    const ViewRect destination = ComputePaintRects(image).destination;
    return {destination.x - scroll.x, destination.y - scroll.y, destination.width,
            destination.height};
}

PixelPoint ViewPlacement::AutoScrollPosition(PixelPoint point) const {
    return {AutoScrollAxis(point.x, client.width, total.width, scroll.x),
            AutoScrollAxis(point.y, client.height, total.height, scroll.y)};
}

PixelPoint ZoomScrollPosition(const ViewPlacement& before, const ViewPlacement& after,
                              PixelPoint click) {
    // The clicked point relative to the scaled image's origin: a centred image
    // starts at the centring offset, not at 0.
    const PixelPoint offset = before.CentringOffset();
    const PixelPoint logical = {click.x + before.scroll.x - offset.x,
                                click.y + before.scroll.y - offset.y};
    return {ZoomScrollAxis(logical.x, before.total.width, after.total.width, after.client.width,
                           after.scroll.x),
            ZoomScrollAxis(logical.y, before.total.height, after.total.height, after.client.height,
                           after.scroll.y)};
}

} // namespace halvera
