#pragma once

#include "document/MeasureKind.h"
#include "image/PixelGeometry.h"
#include "measure/CalFile.h"
#include "measure/OutputSelection.h"
#include "measure/ToleranceTable.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvera {

// A measurement program: the items an inspector measured once, kept so that
// the same measurements can be made on every part of a batch, found wherever
// the part lies (InspectionDatum), judged and summarised. Its file is
// RecipeFile.h; running it on one picture RecipeRun.h.

// The kinds of recipe item, named as the batch tool's measure items are:
// the clicked kinds keep whole pixels, the edge kinds are searched on the
// picture again.
enum class RecipeItemKind {
    Point,      // "point": one point
    Line,       // "line": start, end
    Circle,     // "circle": centre, a point on the circle
    Rectangle,  // "rect": two opposite corners
    Angle,      // "angle": first arm end, vertex, second arm end
    PointPair,  // "pair": the distance between two point items
    EdgePoint,  // "edge-point": where the edge point is searched from
    EdgeLine,   // "edge-line": the segment the straight edge is searched along
    EdgeCircle, // "edge-circle": centre, a point on the circle
    Width,      // "width": the segment across both edges
    EdgeAngle,  // "edge-angle": an angle whose three clicks snap to edge points
};

// What a kind is called in a recipe and what it holds.
struct RecipeKindTraits {
    RecipeItemKind kind;
    std::string_view word;
    MeasureKind tab; // the results tab its values belong to
    size_t points;   // geometry points it keeps (a pair keeps none)
    bool onEdges;    // searched on the picture's edges
};
std::span<const RecipeKindTraits> RecipeKinds();
const RecipeKindTraits& TraitsOf(RecipeItemKind kind);
std::optional<RecipeItemKind> RecipeKindNamed(std::string_view word);

// One measurement of the recipe. Geometry is relative to the datum when the
// recipe has one (see InspectionDatum.h), in picture pixels otherwise.
struct RecipeItem {
    RecipeItemKind kind = RecipeItemKind::Point;
    std::vector<SubPixelPoint> points;
    // A pair's two point items, counted from 0 in the recipe's item list.
    int first = -1;
    int second = -1;
    std::string name; // "bore", "width A"; may be empty
    bool operator==(const RecipeItem&) const = default;
};

// How a part is found: the recipe item whose edge-line is the part's
// reference edge (its direction is the x axis) and the edge-point or second
// edge-line whose intersection with it is the origin; and where the datum
// lay on the picture the recipe was made from, which is where the search
// starts on every new picture.
struct RecipeDatum {
    int line = -1;   // item index, from 0
    int origin = -1; // item index, from 0
    SubPixelPoint placedOrigin;
    SubPixelPoint placedAxis{1.0, 0.0}; // unit vector of the x axis
    bool operator==(const RecipeDatum&) const = default;
};

// A tolerance entry the recipe judges with: data item k (MeasureDataItems.h).
struct RecipeTolerance {
    int item = 0;
    ToleranceEntry entry;
    bool operator==(const RecipeTolerance&) const = default;
};

struct InspectionRecipe {
    CalibrationRecord calibration;
    std::vector<RecipeTolerance> tolerances;
    OutputSelection output;
    std::optional<RecipeDatum> datum;
    std::vector<RecipeItem> items;
    // The name of the calibration preset the calibration came from; empty
    // when it came from none. Only shown: the five values are what count.
    std::string preset;
    bool operator==(const InspectionRecipe&) const = default;

    // The tolerance of data item k, when the recipe has one.
    std::optional<ToleranceEntry> ToleranceOf(int k) const;
};

// Why a recipe cannot be run as it stands (an item with the wrong number of
// points, a pair naming no point item, a datum naming items of the wrong
// kind); empty when it can.
std::string RecipeFault(const InspectionRecipe& recipe);

} // namespace halvera
