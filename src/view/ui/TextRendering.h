#pragma once

#include "document/TextSettings.h"

namespace halvera {

class CMavDoc;

// Draws `text` into the document's main image as the text tool does: the
// image is first put back from the working copy; the text is drawn off screen
// in white on black with its font (never smoothed) at its top-left corner;
// its extent sets the box's right and bottom; then every exactly white pixel
// of rows top..bottom - 1 and columns left..right + 31 sets the image pixel to
// the text colour, whatever the selection. No undo step.
void RenderDocumentText(CMavDoc& doc, TextSettings& text);

} // namespace halvera
