#pragma once

#include "document/MeasureData.h"
#include "image/DibImage.h"
#include "measure/EdgeSearch.h"
#include "measure/InspectionDatum.h"
#include "measure/InspectionRecipe.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvera {

// How one value of a recipe run is judged: against the recipe's tolerance
// entry of its data item, or not at all when the recipe has none for it.
enum class Verdict { Unjudged, Pass, Error };
std::string_view VerdictText(Verdict verdict); // "", "Pass", "Error"

// One value of one item on one picture.
struct InspectedValue {
    int item = 0;                // recipe item index, from 0
    int dataItem = -1;           // data item k; -1 for a pair's distance
    std::optional<double> value; // nothing when the item was not measured
    std::optional<ToleranceEntry> tolerance;
    Verdict verdict = Verdict::Unjudged; // an item not measured is an Error
};

// "Diameter", or "Distance" for a pair.
std::string_view ValueName(const InspectedValue& value);

// What running a recipe on one picture gave.
struct PictureInspection {
    std::string failure;             // why the picture failed as a whole (its datum); empty if not
    std::vector<std::string> misses; // one line per item not measured
    MeasureData items;               // the items as if measured by hand
    std::vector<InspectedValue> values;

    bool Failed() const { return !failure.empty(); }
    bool AnyError() const;
};

struct InspectionSettings {
    double datumRadius = kDefaultDatumRadius;
    double snapRadius = kDefaultSnapRadius; // the edge items' own search
};

// Finds the part (InspectionDatum.h), places every item through its frame
// and measures it as the tools and the measure command do: clicked items at
// the whole pixels covering their placed points, edge items searched on the
// picture's edges. Each item's values are those of the recipe's output items
// for its tab (a pair's distance always), in real units of the recipe's
// calibration, judged against its tolerances.
PictureInspection InspectPicture(CDibImage picture, const InspectionRecipe& recipe,
                                 const InspectionSettings& settings);

} // namespace halvera
