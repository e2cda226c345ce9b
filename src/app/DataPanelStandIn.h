#pragma once

#include "app/FrameServices.h"
#include "measure/MeasureResultsPanel.h"

namespace halvera {

// The results panel the main window offers the measurement tools until the
// data panel lists results: it shows and hides the empty "Results" panel and
// lets every row request pass.
class CDataPanelStandIn : public MeasureResultsPanel {
public:
    explicit CDataPanelStandIn(FrameServices& frame) : frame_(frame) {}

    void ShowDataPanel() override { frame_.showDataPanel(); }
    void HideDataPanel() override { frame_.hideDataPanel(); }
    void SelectTab(MeasureKind) override {}
    void AppendRow(MeasureKind) override {}
    void UpdateRow(MeasureKind, int) override {}
    void SelectRow(int) override {}

private:
    FrameServices& frame_;
};

} // namespace halvera
