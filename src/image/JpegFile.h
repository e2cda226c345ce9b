#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"

#include <string>

namespace halvera {

// JPEG files through libjpeg's version 6 interface. Each call opens and closes
// its own file; every failure is reported to the user before the call returns.
class CJpegFile {
public:
    // Decodes a JPEG file into a 24-bit packed DIB (rows bottom-up, blue, green,
    // red, padded to 4 bytes). Greyscale pictures get three equal channels;
    // four-component (CMYK or YCCK, Adobe-inverted or not) pictures are
    // converted to RGB. A file that cannot be opened, is no JPEG, is cut
    // short or that the library refuses gives "Can not read the file!" with
    // the file and the reason (the library's message for damaged data) on a
    // second line (ReadFailure.h). Empty after a message.
    PackedDib ReadPackedDib(const std::string& path);

    // Writes the 24-bit `image` as a baseline JPEG of the given quality (0..100,
    // passed to the library unchanged). False when `image` is not a 24-bit
    // image (no message) or after a message; an existing file is then untouched.
    bool Write(const std::string& path, const CDibImage& image, int quality);
};

} // namespace halvera
