#include "warping/NetGrid.h"

#include <algorithm>
#include <cstdlib>

namespace halvera {

PreviewRect FitPreview(int32_t controlWidth, int32_t controlHeight, int32_t imageWidth,
                       int32_t imageHeight) {
    if (controlWidth <= 0 || controlHeight <= 0 || imageWidth <= 0 || imageHeight <= 0)
        return PreviewRect{};
    const int64_t widthRatio = int64_t{imageWidth} * controlHeight;
    const int64_t heightRatio = int64_t{imageHeight} * controlWidth;
    PreviewRect fitted;
    if (widthRatio >= heightRatio) { // relatively wider: fill the width
        fitted.width = controlWidth;
        fitted.height = static_cast<int32_t>(std::max<int64_t>(heightRatio / imageWidth, 1));
    } else {
        fitted.height = controlHeight;
        fitted.width = static_cast<int32_t>(std::max<int64_t>(widthRatio / imageHeight, 1));
    }
    fitted.left = (controlWidth - fitted.width) / 2;
    fitted.top = (controlHeight - fitted.height) / 2;
    return fitted;
}

int NetGrid::ClampNetSize(int size) {
    return std::clamp(size, kMinNetSize, kMaxNetSize);
}

void NetGrid::Build(int netWidth, int netHeight, const PreviewRect& preview) {
    netWidth_ = ClampNetSize(netWidth);
    netHeight_ = ClampNetSize(netHeight);
    preview_ = preview;
    columns_ = std::min(std::max(preview.width, 0) / netWidth_ + 1, kMaxNetColumns);
    rows_ = std::min(std::max(preview.height, 0) / netHeight_ + 1, kMaxNetRows);
    reference_.fill(PixelPoint{});
    for (int c = 0; c < columns_; ++c)
        for (int r = 0; r < rows_; ++r)
            reference_[Index({c, r})] =
                PixelPoint{std::min(preview.left + c * netWidth_, preview.right()),
                           std::min(preview.top + r * netHeight_, preview.bottom())};
    moved_ = reference_;
}

bool NetGrid::IsInterior(NetNode node) const {
    return node.column >= 1 && node.column <= columns_ - 2 && node.row >= 1 &&
           node.row <= rows_ - 2;
}

std::optional<NetNode> NetGrid::InteriorNodeAt(PixelPoint point) const {
    std::optional<NetNode> found;
    for (int r = 1; r <= rows_ - 2; ++r)
        for (int c = 1; c <= columns_ - 2; ++c) {
            const PixelPoint node = moved_[Index({c, r})];
            if (std::abs(node.x - point.x) <= kNodeGrabTolerance &&
                std::abs(node.y - point.y) <= kNodeGrabTolerance)
                found = NetNode{c, r};
        }
    return found;
}

void NetGrid::MoveNode(NetNode node, PixelPoint point) {
    if (!IsInterior(node))
        return;
    moved_[Index(node)] = PixelPoint{
        std::clamp(point.x, preview_.left, std::max(preview_.left, preview_.right() - 1)),
        std::clamp(point.y, preview_.top, std::max(preview_.top, preview_.bottom() - 1))};
}

} // namespace halvera
