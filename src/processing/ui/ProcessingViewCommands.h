#pragma once

namespace halvera {

class CMavView;

// The view's handlers of the Image menu's point operations, colour
// adjustments, smoothing and edge detection. Each ends the current tool,
// starts the selection outline, runs the command on the view's document as one
// undo step and repaints the view and the index image panel. The three
// adjustments are dialog commands: Cancel restores the image and drops the step.

void InvertCommand(CMavView& view);
void GrayscaleCommand(CMavView& view);

void AverageCommand(CMavView& view);
void MedianCommand(CMavView& view);
void LowPassCommand(CMavView& view);

void RobertsCommand(CMavView& view);
void SobelCommand(CMavView& view);
void LaplaceCommand(CMavView& view);
void KirschCommand(CMavView& view);
void PrewittCommand(CMavView& view);
void HorizontalEdgeCommand(CMavView& view);
void VerticalEdgeCommand(CMavView& view);
void UpRightEdgeCommand(CMavView& view);
void DownLeftEdgeCommand(CMavView& view);

void BrightnessContrastCommand(CMavView& view);
void ColorBalanceCommand(CMavView& view);
void HueSaturationCommand(CMavView& view);

} // namespace halvera
