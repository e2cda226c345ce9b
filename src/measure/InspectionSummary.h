#pragma once

#include "measure/RecipeRun.h"
#include "measure/ValueStatistics.h"

#include <string>
#include <vector>

namespace halvera {

// One value of the recipe across a batch: which item and data item it is
// and its statistics over the pictures where it was measured.
struct SummarisedValue {
    int item = 0;
    int dataItem = -1;
    ValueStatistics statistics;
};

// Collects the values of a batch's pictures, value by value: every picture
// that was not failed as a whole gives the same values in the same order.
class InspectionSummary {
public:
    void Add(const PictureInspection& picture);
    // Per value in recipe order: n, mean, sd, min, max and, against the
    // recipe's tolerance, Cp and Cpk.
    std::vector<SummarisedValue> Summarise(const InspectionRecipe& recipe) const;

private:
    struct Collected {
        int item;
        int dataItem;
        std::vector<double> values;
    };
    std::vector<Collected> collected_;
};

} // namespace halvera
