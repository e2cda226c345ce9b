#pragma once

namespace halvera {

class CMavView;

// The Measurement menu's graph commands on the active view. Each ends the
// current tool and stops the outline animation first.
// "Merge": the measurement drawing burnt into the image (one undo step).
void GraphMergeCommand(CMavView& view);
// "Build graph": the image replaced by the drawing on white (one undo step).
void BuildGraphCommand(CMavView& view);
// "Print graph": the drawing on white through the "Image Position Set"
// dialog; the image and the undo history are as before afterwards. "There is
// no data to output!" when the document has no items.
void PrintGraphCommand(CMavView& view);

} // namespace halvera
