#pragma once

#include "image/PictureAssembler.h"

#include <string>
#include <string_view>

namespace halvera {

// Picture files are typed by the ending of their path, compared without
// case: ".BMP", ".JPG", ".PNG", ".TIF" and ".TIFF". Anything else (".jpeg"
// included) is no picture file.
enum class PictureFileType { None, Bmp, Jpeg, Png, Tiff };
PictureFileType PictureFileTypeOf(std::string_view path);

// Whether `text` ends in `upperSuffix` (written in capitals), compared without
// case and independently of the locale: EndsWithIgnoringCase(path, ".REF").
bool EndsWithIgnoringCase(std::string_view text, std::string_view upperSuffix);

// Reads a picture file into a packed DIB with the reader its name selects,
// with the reader's note for the status bar (a 16-bit picture's stretch). A
// reader that fails has shown its message; a name of no picture type reads
// nothing and shows nothing (File Open then simply opens nothing).
PictureFromFile OpenPictureFile(const std::string& path);

// The name of the next untitled image: "HLV 1", "HLV 2", ... counted over the
// whole run of the program.
std::string NextUntitledTitle();

} // namespace halvera
