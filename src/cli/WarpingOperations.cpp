// The batch tool's geometric warping operations.

#include "cli/CliOperation.h"
#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "platform/UserPrompts.h"
#include "warping/FlipHorizontal.h"
#include "warping/FlipVertical.h"
#include "warping/ScaleRect.h"
#include "warping/WarpCellBilinear.h"
#include "warping/WarpGeometry.h"
#include "warping/WarpQuad.h"

#include <array>
#include <string>
#include <vector>

namespace halvera {

namespace {

// Destination corners and cell points may lie well outside the image (a
// frame dragged past its edge); this bounds them to keep all arithmetic small.
constexpr int kCoordinateLimit = 100000;

// The four buffers of the document were not usable together; a document
// never gets here, but a failure is not reported as success.
bool ReportWarpFailure(const char* operation) {
    ShowMessage(std::string(operation) + ": the image could not be warped.", MessageIcon::Stop);
    return false;
}

// `name`=l,t,r,b: a box of whole pixels, checked against the image by
// RequireInsideImage once the image is read.
PixelRect ImageBox(const OperationArguments& arguments, const char* name) {
    const std::vector<int> v = arguments.integers(name, 4, 0, kCoordinateLimit);
    const PixelRect box{v[0], v[1], v[2], v[3]};
    if (box.right < box.left || box.bottom < box.top)
        throw UsageError(std::string(name) +
                         " must be left,top,right,bottom with left <= right and top <= bottom");
    return box;
}

void RequireInsideImage(const CMavDoc& doc, const PixelRect& box, const char* name) {
    if (box.right >= doc.width() || box.bottom >= doc.height())
        throw UsageError(std::string(name) + " must lie inside the " + std::to_string(doc.width()) +
                         " x " + std::to_string(doc.height()) + " image");
}

// `name`=x0,y0,...,x3,y3: four points, top-right, top-left, bottom-left, bottom-right.
QuadCorners Corners(const OperationArguments& arguments, const char* name) {
    const std::vector<int> v = arguments.integers(name, 8, -kCoordinateLimit, kCoordinateLimit);
    return QuadCorners{{{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}, {v[6], v[7]}}};
}

// The flips: an image-and-mask step; each flip copies image and mask into the
// working copy and the saved mask itself.
template <bool (*Flip)(const CDibImage&, const CDibImage&, const CDibImage&, const CDibImage&)>
bool RunFlip(CMavDoc& doc) {
    SelectionRecord selection;
    if (!RunImageMaskCommand(doc, selection, false, [&] {
            return Flip(doc.image(), doc.working(), doc.mask(), doc.savedMask());
        }))
        return ReportWarpFailure("flip");
    return true;
}

// The zoom tool's render: the source box scaled onto the destination
// rectangle, from the copies taken when the tool starts.
PreparedOperation PrepareScaleRect(const OperationArguments& arguments) {
    const PixelRect source = ImageBox(arguments, "source");
    const std::vector<int> d = arguments.integers("dest", 4, -kCoordinateLimit, kCoordinateLimit);
    const PixelRect destination{d[0], d[1], d[2], d[3]};
    return [=](CMavDoc& doc) {
        RequireInsideImage(doc, source, "source");
        doc.SaveMask();
        SelectionRecord selection;
        if (!RunImageMaskCommand(doc, selection, true, [&] {
                return ScaleRect(doc.image(), doc.working(), doc.mask(), doc.savedMask(), source,
                                 destination);
            }))
            return ReportWarpFailure("scale-rect");
        return true;
    };
}

// The rotate and free-transform tools' render: the frame the tools start from
// around the source box, warped onto the four destination corners.
PreparedOperation PrepareWarpQuad(const OperationArguments& arguments) {
    const PixelRect box = ImageBox(arguments, "source");
    const QuadCorners destination = Corners(arguments, "dest");
    return [=](CMavDoc& doc) {
        RequireInsideImage(doc, box, "source");
        const QuadCorners source = RegionBoxCorners(box);
        doc.SaveMask();
        SelectionRecord selection;
        if (!RunImageMaskCommand(doc, selection, true, [&] {
                return WarpQuad(doc.image(), doc.working(), doc.mask(), doc.savedMask(), source,
                                destination);
            }))
            return ReportWarpFailure("warp-quad");
        return true;
    };
}

// One cell of a net warp; the mask limits it and stays as it is.
PreparedOperation PrepareWarpCell(const OperationArguments& arguments) {
    const std::vector<int> r = arguments.integers("rect", 4, -kCoordinateLimit, kCoordinateLimit);
    const PixelRect cell{r[0], r[1], r[2], r[3]};
    const QuadCorners source = Corners(arguments, "source");
    return [=](CMavDoc& doc) {
        if (!RunImageCommand(doc, true, [&] {
                return WarpCellBilinear(doc.image(), doc.working(), doc.mask(), cell, source);
            }))
            return ReportWarpFailure("warp-cell");
        return true;
    };
}

constexpr std::array kOperations = {
    CliOperation{"flip-horizontal", "flip-horizontal",
                 &WithoutArguments<&RunFlip<&FlipHorizontal>>},
    CliOperation{"flip-vertical", "flip-vertical", &WithoutArguments<&RunFlip<&FlipVertical>>},
    CliOperation{"scale-rect", "scale-rect source=L,T,R,B dest=L,T,R,B", &PrepareScaleRect},
    CliOperation{"warp-quad", "warp-quad source=L,T,R,B dest=X0,Y0,X1,Y1,X2,Y2,X3,Y3",
                 &PrepareWarpQuad},
    CliOperation{"warp-cell", "warp-cell rect=X1,Y1,X3,Y3 source=X0,Y0,X1,Y1,X2,Y2,X3,Y3",
                 &PrepareWarpCell},
};

} // namespace

std::span<const CliOperation> WarpingOperations() {
    return kOperations;
}

} // namespace halvera
