#include "measure/ui/MeasureCommands.h"

#include "document/MavDoc.h"
#include "measure/CalFile.h"
#include "measure/KeepMeasurements.h"
#include "measure/MeasureResultsPanel.h"
#include "measure/PresetQuestions.h"
#include "measure/ui/AngleTools.h"
#include "measure/ui/CircleTools.h"
#include "measure/ui/LineTools.h"
#include "measure/ui/MeasureColorDialog.h"
#include "measure/ui/MeasureTool.h"
#include "measure/ui/PointTools.h"
#include "measure/ui/RectangleTools.h"
#include "measure/ui/WidthTool.h"
#include "platform/UserPrompts.h"
#include "view/ui/CommandTarget.h"
#include "view/ui/FrameServices.h"
#include "view/ui/MavView.h"

namespace halvera {

namespace {

// The tool mode is left as ending the previous tool leaves it.
template <class Tool> void StartMeasureTool(CMavView& view) {
    view.startTool(OutlineAnimation::Stop, ToolMode::None, [] { return std::make_unique<Tool>(); });
    view.repaintView();
}

} // namespace

void PointToolCommand(CMavView& view) {
    StartMeasureTool<CPointTool>(view);
}
void AdjustPointCommand(CMavView& view) {
    StartMeasureTool<CAdjustPointTool>(view);
}
void PointToPointCommand(CMavView& view) {
    StartMeasureTool<CPointToPointTool>(view);
}
void LineMeasureCommand(CMavView& view) {
    StartMeasureTool<CLineMeasureTool>(view);
}
void AdjustLineCommand(CMavView& view) {
    StartMeasureTool<CAdjustLineTool>(view);
}
void CircleToolCommand(CMavView& view) {
    StartMeasureTool<CCircleTool>(view);
}
void ThreePointCircleCommand(CMavView& view) {
    StartMeasureTool<CThreePointCircleTool>(view);
}
void AdjustCircleCommand(CMavView& view) {
    StartMeasureTool<CAdjustCircleTool>(view);
}
void RectangleMeasureCommand(CMavView& view) {
    StartMeasureTool<CRectangleMeasureTool>(view);
}
void AdjustRectangleCommand(CMavView& view) {
    StartMeasureTool<CAdjustRectangleTool>(view);
}
void AngleToolCommand(CMavView& view) {
    StartMeasureTool<CAngleTool>(view);
}
void AdjustAngleCommand(CMavView& view) {
    StartMeasureTool<CAdjustAngleTool>(view);
}

void WidthToolCommand(CMavView& view) {
    StartMeasureTool<CWidthTool>(view);
}

void SnapToEdgesCommand(CMavView& view) {
    int& snap = view.document().settings().SnapToEdges;
    snap = snap != 0 ? 0 : 1;
    view.repaintView();
}

void UpdateSnapToEdgesCommand(CMavView& view, CommandState& state) {
    state.checked = view.document().settings().SnapToEdges != 0;
}

void SetMeasureColorCommand(CMavView& view) {
    view.stopOutlineTimer();
    CMeasureColorDialog dialog(view.document().settings(), &view);
    if (dialog.exec() == QDialog::Accepted)
        view.repaintView();
}

void SaveMeasurementsCommand(CMavView& view) {
    if (SaveMeasurementsFile(view.document()))
        if (FrameServices* frame = Frame())
            frame->setStatusPaneText(0, QStringLiteral("Measurements saved"));
}

void UseOwnCalibrationCommand(CMavView& view, SettingsStore* presetStore) {
    const std::optional<NamedCalibration>& own = view.document().ownCalibration();
    if (!own)
        return;
    RulerCalibration calibration(view.document().settings());
    StoreNamedCalibration(calibration, *own);
    view.repaintView();
    if (!presetStore)
        return;
    const TextRequest question{"Use the picture's calibration",
                               "The picture's calibration is in force now. Keep it as a preset "
                               "named:",
                               calibration.presetName()};
    if (const std::optional<std::string> name =
            AskToKeepAsPreset(*presetStore, CalibrationInForce(calibration), question))
        calibration.SetPresetName(*name);
}

void UpdateUseOwnCalibrationCommand(CMavView& view, CommandState& state) {
    const std::optional<NamedCalibration>& own = view.document().ownCalibration();
    const RulerCalibration calibration(view.document().settings());
    state.enabled = own && own->record != CalibrationInForce(calibration);
}

void ClearMeasureDataCommand(CMavView& view) {
    if (ShowMessage("To clear all data?", MessageIcon::Warning, MessageButtons::OkCancel) !=
        MessageAnswer::Ok)
        return;
    view.document().measureData().Clear();
    if (MeasureResultsPanel* panel = ResultsPanel())
        panel->ClearRows();
    view.repaintView();
}

} // namespace halvera
