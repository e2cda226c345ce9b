#pragma once
#include "document/MeasureKind.h"
namespace halvera {
struct ToleranceTable;
// What the measurement tools tell the results panel after changing data.
class MeasureResultsPanel {
public:
    virtual ~MeasureResultsPanel() = default;
    virtual void ShowDataPanel() = 0;
    virtual void HideDataPanel() = 0;
    virtual void SelectTab(MeasureKind kind) = 0;           // switch tab (refill) when it differs
    virtual void AppendRow(MeasureKind kind) = 0;           // row of the kind's newest item
    virtual void UpdateRow(MeasureKind kind, int item) = 0; // refill that item's row
    virtual void SelectRow(int row) = 0;                    // focus, select, scroll into view
    virtual void ClearRows() {}                             // every item was cleared
    // The tolerances the panel judges values with while "Error detect" is
    // on, for the image to mark the items that fail; null while it is off.
    virtual const ToleranceTable* ErrorJudging() const { return nullptr; }
};
} // namespace halvera
