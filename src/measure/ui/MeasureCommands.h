#pragma once

namespace halvera {

class CMavView;
class SettingsStore;
struct CommandState;

// The Measurement menu's commands on the active view. A tool command ends the
// current tool, stops the outline animation, repaints, and makes the new
// measurement tool the view's tool.
void PointToolCommand(CMavView& view);
void AdjustPointCommand(CMavView& view);
void PointToPointCommand(CMavView& view);
void LineMeasureCommand(CMavView& view);
void AdjustLineCommand(CMavView& view);
void CircleToolCommand(CMavView& view);
void ThreePointCircleCommand(CMavView& view);
void AdjustCircleCommand(CMavView& view);
void RectangleMeasureCommand(CMavView& view);
void AdjustRectangleCommand(CMavView& view);
void AngleToolCommand(CMavView& view);
void AdjustAngleCommand(CMavView& view);
void WidthToolCommand(CMavView& view);

// "Snap to edges": turns the SnapToEdges setting over; checked while it is on.
void SnapToEdgesCommand(CMavView& view);
void UpdateSnapToEdgesCommand(CMavView& view, CommandState& state);

// "Set color": the "Color" dialog; OK stores the colours and repaints the view.
void SetMeasureColorCommand(CMavView& view);
// "Clear data": asks "To clear all data?"; OK empties the document's
// measured items and the results list.
void ClearMeasureDataCommand(CMavView& view);
// "Save measurements": writes only the measurement file beside the picture
// (an image without a file asks where), and says so in the status bar.
void SaveMeasurementsCommand(CMavView& view);
// "Use the picture's calibration": makes the calibration the document's
// picture or measurement file carries the one in force, then offers to keep
// it as a preset in `presetStore` (none: no offer); Cancel keeps it in force
// without a preset. Enabled while it differs from the one in force.
void UseOwnCalibrationCommand(CMavView& view, SettingsStore* presetStore);
void UpdateUseOwnCalibrationCommand(CMavView& view, CommandState& state);

} // namespace halvera
