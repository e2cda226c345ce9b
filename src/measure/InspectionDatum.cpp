#include "measure/InspectionDatum.h"

#include "measure/EdgePoint.h"
#include "measure/StraightEdge.h"

#include <algorithm>
#include <cmath>

namespace halvera {

namespace {

// Half the length of the piece of a datum edge searched first.
constexpr double kPieceHalfLength = 30.0;

// A datum element found on the picture: an edge's two ends, or a point.
struct FoundElement {
    SubPixelPoint start;
    SubPixelPoint end;
};

SubPixelPoint Between(SubPixelPoint a, SubPixelPoint b, double t) {
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

double Length(SubPixelPoint a, SubPixelPoint b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// A straight datum edge, where the recipe expects it from `start` to `end`.
// A long edge of a turned part strays from where it was expected most at
// its ends, so first a short piece around its middle is searched within
// `radius`; the whole edge is then searched along the piece's line, close
// to it.
EdgeResult<FoundElement> FindDatumEdge(CDibImage picture, SubPixelPoint start, SubPixelPoint end,
                                       double radius) {
    const double length = Length(start, end);
    const double half = std::min(kPieceHalfLength, length / 2.0) / length;
    const auto piece = FindStraightEdge(picture, Between(start, end, 0.5 - half),
                                        Between(start, end, 0.5 + half), radius);
    if (!piece)
        return piece.miss();
    const SubPixelPoint middle = Between(piece->start, piece->end, 0.5);
    // The piece's ends lie `half` of the length from its middle.
    const double toWholeEnds = 0.5 / half;
    const auto whole =
        FindStraightEdge(picture, Between(middle, piece->start, toWholeEnds),
                         Between(middle, piece->end, toWholeEnds), kDefaultSnapRadius);
    if (!whole)
        return whole.miss();
    return FoundElement{whole->start, whole->end};
}

// Where the recipe expects a point once the reference edge is found: turned
// and moved as the edge was. Only a slide along the edge is not known yet.
struct EdgeMotion {
    SubPixelPoint expectedMiddle;
    SubPixelPoint foundMiddle;
    double cosine = 1.0;
    double sine = 0.0;

    SubPixelPoint Apply(SubPixelPoint p) const {
        const double dx = p.x - expectedMiddle.x;
        const double dy = p.y - expectedMiddle.y;
        return {foundMiddle.x + cosine * dx - sine * dy, foundMiddle.y + sine * dx + cosine * dy};
    }
};

EdgeMotion MotionOf(SubPixelPoint expectedStart, SubPixelPoint expectedEnd,
                    const FoundElement& found) {
    const double expected =
        std::atan2(expectedEnd.y - expectedStart.y, expectedEnd.x - expectedStart.x);
    const double turned =
        std::atan2(found.end.y - found.start.y, found.end.x - found.start.x) - expected;
    return {Between(expectedStart, expectedEnd, 0.5), Between(found.start, found.end, 0.5),
            std::cos(turned), std::sin(turned)};
}

std::string NotFound(const InspectionRecipe& recipe, int index, EdgeMiss miss, double radius) {
    const RecipeItem& item = recipe.items[static_cast<size_t>(index)];
    const std::string which = "item " + std::to_string(index + 1) + " (" +
                              std::string(TraitsOf(item.kind).word) +
                              (item.name.empty() ? "" : " \"" + item.name + "\"") + ")";
    return "datum not found: " + which + ": " + EdgeMissText(miss, radius);
}

// The datum's second item, where the reference edge's motion takes it.
EdgeResult<FoundElement> FindOrigin(CDibImage picture, const RecipeItem& item,
                                    const PartFrame& placed, const EdgeMotion& motion,
                                    double radius) {
    const auto expected = [&](size_t i) {
        return motion.Apply(placed.ToPicture(item.points[i]));
    };
    if (item.kind != RecipeItemKind::EdgePoint)
        return FindDatumEdge(picture, expected(0), expected(1), radius);
    const auto point = FindEdgePoint(picture, expected(0), radius);
    if (!point)
        return point.miss();
    return FoundElement{*point, *point};
}

} // namespace

PartFrame PlacedFrame(const RecipeDatum& datum) {
    return {datum.placedOrigin, datum.placedAxis};
}

DatumSearch FindPart(CDibImage picture, const InspectionRecipe& recipe, double radius) {
    if (!recipe.datum)
        return {PartFrame{}, {}};
    const RecipeDatum& datum = *recipe.datum;
    const PartFrame placed = PlacedFrame(datum);
    const RecipeItem& lineItem = recipe.items[static_cast<size_t>(datum.line)];
    const SubPixelPoint expectedStart = placed.ToPicture(lineItem.points[0]);
    const SubPixelPoint expectedEnd = placed.ToPicture(lineItem.points[1]);
    const auto line = FindDatumEdge(picture, expectedStart, expectedEnd, radius);
    if (!line)
        return {std::nullopt, NotFound(recipe, datum.line, line.miss(), radius)};
    const RecipeItem& originItem = recipe.items[static_cast<size_t>(datum.origin)];
    const auto origin = FindOrigin(picture, originItem, placed,
                                   MotionOf(expectedStart, expectedEnd, *line), radius);
    if (!origin)
        return {std::nullopt, NotFound(recipe, datum.origin, origin.miss(), radius)};
    const std::optional<PartFrame> frame =
        originItem.kind == RecipeItemKind::EdgePoint
            ? FrameFromEdgeAndPoint(line->start, line->end, origin->start)
            : FrameFromTwoEdges(line->start, line->end, origin->start, origin->end);
    if (!frame)
        return {std::nullopt, "datum not found: its two edges run side by side"};
    return {frame, {}};
}

} // namespace halvera
