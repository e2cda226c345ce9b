#pragma once

#include "document/MavDoc.h"
#include "document/SelectionRecord.h"

namespace halvera {

// The three automatic shade corrections of the Image menu.
enum class AutomaticShadeCorrection {
    Polynomial,     // fitted surface
    Morphological7, // element 7, smoothing 3
    Morphological9, // element 9, smoothing 5
};

// Runs one automatic correction on the document's image as an image command
// (working copy, undo step), with the wait cursor while it computes. The
// region of interest is not consulted. When the polynomial fit fails the user
// is told so, the step is dropped and the image stays as it was; false then.
bool RunAutomaticShadeCorrection(CMavDoc& doc, SelectionRecord& selection,
                                 AutomaticShadeCorrection kind);

} // namespace halvera
