#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"

#include <string>

namespace halvera {

// BMP files and reference-image files. The program writes both as a 14-byte
// file header ("BM" or "==", file size, two reserved words, pixel offset)
// followed by the image block exactly as held in memory; BMP files as other
// programs write them are read too. Each call opens and closes its own file;
// every failure is reported to the user before the call returns.
class CBmpFile {
public:
    // Reads a BMP file (BmpHeaders.h, BmpLayout.h) into a packed DIB with a
    // full palette and bottom-up, uncompressed rows of 1, 4, 8 or 24 bits: a
    // file already laid out that way is taken as it is, any other converted
    // (BmpDecoder.h). Empty after "Can not read the file!" with the file and
    // the reason on a second line (ReadFailure.h), a kind of BMP the program
    // does not read named as an unsupported variant.
    PackedDib ReadPackedDib(const std::string& path);

    // Writes `image` as a BMP file. False when `image` holds no block (no
    // message) or after "Cannotsave the file!"; an existing file is then untouched.
    bool Write(const std::string& path, const CDibImage& image);

    // Reads a reference file over `image`, which must already hold an image of
    // the file's width, height and depth. False after "Can not read the file!",
    // with `image` untouched, or when `image` holds no block.
    bool ReadReference(const std::string& path, const CDibImage& image);

    // Writes `image` as a reference file; failures as for Write.
    bool WriteReference(const std::string& path, const CDibImage& image);

    // Kind 1 shows "Can not read the file!", kind 2 "Cannotsave the file!",
    // both as warnings; any other kind shows nothing.
    static void ReportFileError(int kind);
};

} // namespace halvera
