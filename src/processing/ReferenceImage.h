#pragma once

#include "image/DibImage.h"
#include "platform/UserPrompts.h"

namespace halvera {

// Reference images: an image of an empty field kept in a ".ref" file (the BMP
// layout under the signature "=="), later used to divide other images by.

// The file dialog for reference files: proposed name "Reference", filter
// "Reference(*.ref)|*.ref||", extension "ref"; saving asks before overwriting.
FileDialogRequest ReferenceFileRequest(bool save);

// Asks for a file name and writes `image` there as a reference file. The
// image does not change. False when the user cancels or after
// "Cannotsave the file!".
bool BuildReferenceImage(const CDibImage& image);

// Asks for a reference file and reads it into `target`, a 24-bit image of the
// size of the image to be corrected. A file that is not a reference file, or
// holds an image of another width, height or depth, is refused with
// "Can not read the file!" and `target` is left untouched. False then, and
// when the user cancels.
bool LoadReferenceImage(const CDibImage& target);

} // namespace halvera
