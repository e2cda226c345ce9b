#pragma once

#include "warping/WarpGeometry.h"

#include <array>
#include <cstdint>
#include <optional>

namespace halvera {

// The rectangle a net-warping preview shows the image in, in preview-control
// pixels; it covers left..left+width-1 by top..top+height-1.
struct PreviewRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t right() const { return left + width; }  // one past the last column
    int32_t bottom() const { return top + height; } // one past the last row
    bool operator==(const PreviewRect&) const = default;
};

// The image fitted into a control of controlWidth x controlHeight pixels: as
// large as fits with the image's aspect ratio kept (sizes truncated, at least
// 1), centred along the side with room to spare. Empty when any size is not
// positive.
PreviewRect FitPreview(int32_t controlWidth, int32_t controlHeight, int32_t imageWidth,
                       int32_t imageHeight);

constexpr int kMinNetSize = 12;
constexpr int kMaxNetSize = 100;
constexpr int kDefaultNetSize = 36;
constexpr int kMaxNetColumns = 40;
constexpr int kMaxNetRows = 30;
// How far (in preview pixels, in x and in y) a press may lie from a node to grab it.
constexpr int kNodeGrabTolerance = 3;

// One node of the grid by column and row.
struct NetNode {
    int column = 0;
    int row = 0;
    bool operator==(const NetNode&) const = default;
};

// The grid of a net warp, laid over the preview: a reference grid of evenly
// spaced nodes and the moved grid the user bends. Nodes are in preview-control
// coordinates; the outer border of nodes stays fixed.
class NetGrid {
public:
    // Clamps the net size into kMinNetSize..kMaxNetSize, then lays out
    // preview.width / netWidth + 1 columns (at most kMaxNetColumns) and
    // preview.height / netHeight + 1 rows (at most kMaxNetRows); node (c, r)
    // sits at (left + c * netWidth, top + r * netHeight), kept within the
    // preview's right and bottom edges. The moved grid starts as the reference.
    void Build(int netWidth, int netHeight, const PreviewRect& preview);

    static int ClampNetSize(int size);

    int netWidth() const { return netWidth_; }
    int netHeight() const { return netHeight_; }
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    const PreviewRect& preview() const { return preview_; }

    PixelPoint reference(NetNode node) const { return reference_[Index(node)]; }
    PixelPoint moved(NetNode node) const { return moved_[Index(node)]; }

    // True for nodes off the outer border: columns 1..columns-2, rows 1..rows-2.
    bool IsInterior(NetNode node) const;

    // The interior node of the moved grid within kNodeGrabTolerance of
    // `point`, searching row by row and, within a row, column by column; when
    // moved nodes crowd together the last one found wins.
    std::optional<NetNode> InteriorNodeAt(PixelPoint point) const;

    // Moves an interior node of the moved grid to `point`, kept inside the
    // preview; border nodes never move.
    void MoveNode(NetNode node, PixelPoint point);

private:
    // Both tables hold one column more and one row more than the caps allow.
    static constexpr int kTableRows = kMaxNetRows + 1;
    static constexpr int kTableSize = (kMaxNetColumns + 1) * kTableRows;
    static int Index(NetNode node) { return node.column * kTableRows + node.row; }

    int netWidth_ = kDefaultNetSize;
    int netHeight_ = kDefaultNetSize;
    int columns_ = 0;
    int rows_ = 0;
    PreviewRect preview_;
    std::array<PixelPoint, kTableSize> reference_{};
    std::array<PixelPoint, kTableSize> moved_{};
};

} // namespace halvera
