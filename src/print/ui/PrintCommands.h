#pragma once

#include "image/DibImage.h"

namespace halvera {

class CMavView;

// "Print...": the "Image Position Set" dialog for the view's image.
void PrintImageCommand(CMavView& view);

// The "Image Position Set" dialog for `image` over `view`, with the current
// calibration and the program's printer; returns when it is closed.
void RunImagePrintDialog(CMavView& view, const CDibImage& image);

} // namespace halvera
