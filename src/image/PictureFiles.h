#pragma once

#include "image/PictureAssembler.h"

#include <string>
#include <string_view>

namespace halvera {

// Picture files are typed by the ending of their path, compared without
// case: ".BMP", ".JPG" and ".JPEG", ".PNG", ".TIF" and ".TIFF". Anything else
// is no picture file.
enum class PictureFileType { None, Bmp, Jpeg, Png, Tiff };
PictureFileType PictureFileTypeOf(std::string_view path);

// The endings PictureFileTypeOf knows, for messages: ".bmp, .jpg, .jpeg, .png, .tif or .tiff".
inline constexpr const char* kPictureEndings = ".bmp, .jpg, .jpeg, .png, .tif or .tiff";

// Whether `text` ends in `upperSuffix` (written in capitals), compared without
// case and independently of the locale: EndsWithIgnoringCase(path, ".REF").
bool EndsWithIgnoringCase(std::string_view text, std::string_view upperSuffix);

// Reads a picture file into a packed DIB with the reader its name selects,
// with the reader's note for the status bar (a 16-bit picture's stretch). A
// reader that fails has shown its message; a picture the packed-DIB
// conversion would refuse is refused here with its reason, naming the file,
// so the document always gets one it can convert. A name of no picture type
// reads nothing and shows nothing (File Open then simply opens nothing).
PictureFromFile OpenPictureFile(const std::string& path);

// The name of the next untitled image: "HLV 1", "HLV 2", ... counted over the
// whole run of the program.
std::string NextUntitledTitle();

} // namespace halvera
