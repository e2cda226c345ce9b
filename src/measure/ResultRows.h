#pragma once

#include "document/MeasureData.h"
#include "document/MeasureKind.h"
#include "measure/RulerCalibration.h"
#include "measure/ToleranceTable.h"

#include <string>
#include <vector>

namespace halvera {

// What every output of the results reads besides the measured data: the scale
// in force, the tolerances and whether values are judged.
struct ResultJudging {
    MeasureScale scale;
    const ToleranceTable& tolerance;
    bool errorDetection = false;
};

// One row of the results panel: the label "(n)" and the value cells.
using ResultRowTexts = std::vector<std::string>;

// "(3)" for row 2: the label in the results panel's "No" column.
std::string RowLabel(int row);

// The cells of item `item` of `kind` as the results panel shows them: the
// label "(n)", then one cell per value in column order, each "%0.3f", or with
// error detection "%0.3f(%0.3fPass)" / "%0.3f(%0.3fError)" against the value's
// tolerance entry. The item must exist.
std::vector<std::string> ResultRowCells(const MeasureData& data, MeasureKind kind, int item,
                                        const ResultJudging& judging);

// Whether item `item` of `kind` is shown as failing on the image: error
// detection is on and one of its values is an Error against a tolerance
// entry in use (EntryInUse). A value whose entry was never set does not
// count, though its cell says Error, so only the limits the user or a recipe
// gave mark an item. The item must exist.
bool ItemJudgedError(const MeasureData& data, MeasureKind kind, int item,
                     const ResultJudging& judging);

} // namespace halvera
