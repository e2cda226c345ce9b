#pragma once

namespace halvera {

class CMavView;
struct CommandState;

// The selection's commands on a view: the tool-box tools that draw the
// selection, "ROI clear", "Crop", and the clipboard commands Copy, Cut and
// Paste, which respect the selection.

void StartLassoTool(CMavView& view);
void StartRectangleMarquee(CMavView& view);
void StartEllipseMarquee(CMavView& view);
void StartRoiCutTool(CMavView& view);

// Clears the mask and the saved mask as one mask step; nothing without a region.
void RoiClear(CMavView& view);
// Whitens every pixel outside the selection as one image step; without a
// region it only ends the tool and starts the outline animation.
void CropToSelectionCommand(CMavView& view);
// Puts the selection (or the whole image) on the clipboard; no undo step.
void CopyCommand(CMavView& view);
// As Copy, then whitens what was copied, as one image step; the tool stays.
void CutCommand(CMavView& view);
// Takes the clipboard's picture as the floating paste image at (0, 0) or at
// the selection's top-left corner, shown only inside the selection.
void PasteCommand(CMavView& view);
// Paste is enabled only while the clipboard offers a picture.
void UpdatePasteCommand(CMavView& view, CommandState& state);

} // namespace halvera
