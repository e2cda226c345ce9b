#pragma once

#include "image/PixelGeometry.h"
#include "view/ui/MouseTool.h"

#include <optional>

namespace halvera {

class CMavDoc;

// The ROI cut tool: a click on, or up to two pixels beside, a selected piece
// removes that whole piece from the selection (pieces touching only at a
// corner count as one). Each removal is one undo step of the mask; ending the
// tool saves the mask into the saved mask.
class CRoiCutTool : public CMouseTool {
public:
    // How far from the click a selected pixel is looked for.
    static constexpr int kSearchRadius = 2;

    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void Finish(CMavView& view) override;

    // The first selected mask pixel of the 5 x 5 square around `at`, rows
    // from the top and columns from the left; none when there is none.
    static std::optional<PixelPoint> FindSelectedNear(const CMavDoc& doc, PixelPoint at);
};

} // namespace halvera
