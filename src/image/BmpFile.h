#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"

#include <string>

namespace halvera {

// BMP files and reference-image files. Both are a 14-byte file header
// ("BM" or "==", file size, two reserved words, pixel offset) followed by the
// image block exactly as held in memory. Each call opens and closes its own
// file; every failure is reported to the user before the call returns.
class CBmpFile {
public:
    // Reads a BMP file of depth 1, 4, 8 or 24 into a packed DIB with a full
    // palette and bottom-up, uncompressed rows: uncompressed files with a full
    // palette as they are; RLE8, RLE4 and top-down files rewritten (BmpRle.h).
    // Empty after "Can not read the file!" with the file and the reason on a
    // second line (ReadFailure.h).
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
