#include "warping/WarpNetNode.h"

#include "warping/WarpCellBilinear.h"

namespace halvera {

namespace {

// Maps preview-control coordinates of the grid onto image pixels.
class PreviewScale {
public:
    PreviewScale(const PreviewRect& preview, int32_t imageWidth, int32_t imageHeight)
        : preview_(preview), sx_(static_cast<double>(imageWidth) / preview.width),
          sy_(static_cast<double>(imageHeight) / preview.height) {}

    PixelPoint ToImage(PixelPoint point) const {
        return PixelPoint{static_cast<int32_t>((point.x - preview_.left) * sx_),
                          static_cast<int32_t>((point.y - preview_.top) * sy_)};
    }

private:
    PreviewRect preview_;
    double sx_;
    double sy_;
};

} // namespace

bool WarpNetNode(const NetGrid& grid, NetNode node, const CDibImage& image,
                 const CDibImage& working, const RegionOfInterest& roi) {
    if (!grid.IsInterior(node) || grid.preview().width <= 0 || grid.preview().height <= 0)
        return true;
    const PreviewScale scale(grid.preview(), image.width(), image.height);
    // Top-left node of each cell around `node`, in rendering order.
    const NetNode cellOrigins[4] = {{node.column - 1, node.row},
                                    {node.column, node.row},
                                    {node.column, node.row - 1},
                                    {node.column - 1, node.row - 1}};
    for (const NetNode origin : cellOrigins) {
        QuadCorners destination{};
        QuadCorners source{};
        const NetNode corners[4] = {{origin.column + 1, origin.row},
                                    {origin.column, origin.row},
                                    {origin.column, origin.row + 1},
                                    {origin.column + 1, origin.row + 1}};
        for (int k = 0; k < 4; ++k) {
            const PixelPoint reference = scale.ToImage(grid.reference(corners[k]));
            const PixelPoint moved = scale.ToImage(grid.moved(corners[k]));
            destination[k] = reference;
            source[k] = PixelPoint{2 * reference.x - moved.x, 2 * reference.y - moved.y};
        }
        const PixelRect cell{destination[kTopLeft].x, destination[kTopLeft].y,
                             destination[kBottomRight].x, destination[kBottomRight].y};
        if (!WarpCellBilinear(image, working, roi, cell, source))
            return false;
    }
    return true;
}

} // namespace halvera
