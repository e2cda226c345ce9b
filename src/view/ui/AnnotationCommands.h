#pragma once

namespace halvera {

class CMavView;

// The tool box's annotation tools on a view. Each ends the current tool,
// starts the selection outline animation, copies the main image into the
// working copy and installs the tool (tool mode 150; the eyedropper 1).

void StartPencilTool(CMavView& view);
void StartLineTool(CMavView& view);
void StartRectangleTool(CMavView& view);
void StartFilledRectangleTool(CMavView& view);
void StartEllipseTool(CMavView& view);
void StartFilledEllipseTool(CMavView& view);
void StartPolygonTool(CMavView& view);
void StartFilledPolygonTool(CMavView& view);
void StartFillTool(CMavView& view);
void StartTextTool(CMavView& view);
void StartRulerSignTool(CMavView& view);
void StartArrowSignTool(CMavView& view);
void StartEyedropperTool(CMavView& view);

} // namespace halvera
