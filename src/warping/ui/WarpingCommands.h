#pragma once

namespace halvera {

class CMavView;

// The Warping menu's commands on the active view.
void HorizontalFlipCommand(CMavView& view); // "Horizontal flip": top to bottom
void VerticalFlipCommand(CMavView& view);   // "Vertical flip": left to right
void ZoomTransformCommand(CMavView& view);
void RotateCommand(CMavView& view);
void FreeTransformCommand(CMavView& view);
void NetWarpingCommand(CMavView& view);

} // namespace halvera
