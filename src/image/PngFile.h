#pragma once

#include "image/CalibrationRecord.h"
#include "image/DibImage.h"
#include "image/PictureAssembler.h"
#include "image/PictureFileContents.h"

#include <optional>
#include <string>

namespace halvera {

// PNG files through libpng. Each call opens and closes its own file; every
// failure is reported to the user before the call returns, with the messages
// of BMP files: "Can not read the file!" with the file and the reason on a
// second line (ReadFailure.h), "Cannotsave the file!".
class CPngFile {
public:
    // Reads grey, palette and RGB pictures, with or without alpha (which is
    // dropped), of 1, 2, 4, 8 and 16 bits, interlaced or not, as
    // PictureAssembler converts them, with the calibration of Halvera's
    // "Halvera calibration" text or else of a pHYs chunk in pixels per
    // metre. Empty picture after a message.
    PictureFromFile ReadPicture(const std::string& path);
    // The sample depth of the PNG file at `path`, from its header, without a
    // message: one page of 8 bits when the header cannot be read.
    static PictureFileContents Inspect(const std::string& path);

    // Writes the 24-bit `image` as an 8-bit RGB PNG at compression level 6,
    // with `calibration` as a pHYs chunk (pixels per metre, rounded, which
    // other programs read) and exactly as a "Halvera calibration" text.
    // False when `image` is not a 24-bit image (no message) or after a
    // message; an existing file is then untouched.
    bool Write(const std::string& path, const CDibImage& image,
               const std::optional<CalibrationRecord>& calibration = std::nullopt);
};

} // namespace halvera
