#pragma once

namespace halvera {

class CMavView;
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

} // namespace halvera
